#include "tests/invariants.h"

namespace korvel::testing {

std::string checkInvariants(const Game& game) {
    const GameVars& v = game.vars();
    if (v.MoveCount - v.TailStamp != v.Score + 2) {
        return "MoveCount - TailStamp is not Score + 2";
    }
    int food = 0;
    bool body = false;
    bool eligible = false;
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            const Cell& cell = game.board().Cells(r, c);
            const int stamp = cell.Tag.asNumber().value_or(-1);
            const bool candidate = r < Board::Rows && c < Board::Columns;
            eligible = eligible || (candidate && (stamp == 0 || cell.Tag == TagValue()));
            if (stamp > 0 && (cell.BackColor != Silver || cell.BorderColor != NearBlack)) {
                return "a stamp off the body at " + std::to_string(r) + "," + std::to_string(c);
            }
            if (cell.BackColor == Red && !candidate) {
                return "food outside rows 1..9, columns 1..23";
            }
            body = body || stamp > 0;
            food += cell.BackColor == Red ? 1 : 0;
        }
    }
    if (body && game.board().Cells(v.PrevRow, v.PrevCol).BorderColor != Red) {
        return "no head at PrevRow, PrevCol";
    }
    if (food > 1 || (food == 0 && eligible)) {
        return std::to_string(food) + " food cells";
    }
    return {};
}

}  // namespace korvel::testing
