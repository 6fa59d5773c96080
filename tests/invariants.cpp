#include "tests/invariants.h"

#include <cstdlib>
#include <map>

namespace korvel::testing {
namespace {

bool candidateFree(const Board& board) {
    for (std::int16_t r = 1; r < Board::Rows; ++r) {
        for (std::int16_t c = 1; c < Board::Columns; ++c) {
            const TagValue& tag = board.Cells(r, c).Tag;
            if (tag.equalsNumber(0) || tag.equalsText("")) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

std::string checkInvariants(const Game& game) {
    const GameVars& v = game.vars();
    const Board& board = game.board();
    if (v.MoveCount - v.TailStamp != v.Score + 2) {
        return "MoveCount - TailStamp != Score + 2";
    }
    if (v.HeadRow < 1 || v.HeadRow > Board::Rows || v.HeadCol < 1 || v.HeadCol > Board::Columns) {
        return "head off the board";
    }
    std::map<int, Board::Position> stamps;
    int food = 0;
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            const Cell& cell = board.Cells(r, c);
            food += cell.BackColor == Red ? 1 : 0;
            const auto stamp = cell.Tag.asNumber();
            const bool stamped = stamp && *stamp > 0;
            if (stamped != (cell.BorderColor == NearBlack)) {
                return "stamped cells and body borders differ at " + std::to_string(r) + "," +
                       std::to_string(c);
            }
            if (!stamped) {
                continue;
            }
            if (cell.BackColor != Silver) {
                return "a stamped cell is not silver";
            }
            if (*stamp <= v.TailStamp || *stamp > v.MoveCount) {
                return "stamp " + std::to_string(*stamp) + " outside TailStamp+1..MoveCount";
            }
            if (!stamps.emplace(*stamp, Board::Position{r, c}).second) {
                return "stamp " + std::to_string(*stamp) + " occurs twice";
            }
        }
    }
    if (food > 1 || (food == 0 && candidateFree(board))) {
        return std::to_string(food) + " food cells";
    }
    if (stamps.empty()) {
        return {};
    }
    // The body is a chain from the tail to the neck, one stamp per move.
    if (stamps.rbegin()->first != v.MoveCount ||
        stamps.rbegin()->first - stamps.begin()->first + 1 != static_cast<int>(stamps.size())) {
        return "stamps do not run without gaps up to MoveCount";
    }
    // PrevRow, PrevCol is where the head was painted last (HeadRow, HeadCol too,
    // unless the head has just run into the body); the neck touches it.
    const Board::Position neck = stamps.rbegin()->second;
    if (std::abs(neck.row - v.PrevRow) + std::abs(neck.col - v.PrevCol) != 1) {
        return "the newest stamp is not next to the head";
    }
    for (auto it = stamps.begin(); std::next(it) != stamps.end(); ++it) {
        const Board::Position a = it->second;
        const Board::Position b = std::next(it)->second;
        if (std::abs(a.row - b.row) + std::abs(a.col - b.col) != 1) {
            return "consecutive stamps on cells that do not touch";
        }
    }
    return {};
}

}  // namespace korvel::testing
