#include "tests/invariants.h"

#include <array>
#include <cstdlib>

namespace korvel::testing {
namespace {

// The kinds of value the rules write into tags, and anything else.
enum class TagKind { Empty, Food, Stamp, Other };

const TagValue EmptyText = TagValue::text("");
const TagValue FoodText = TagValue::text("Red");

TagKind kindOf(const TagValue& tag) {
    if (const auto number = tag.asNumber()) {
        return *number > 0 ? TagKind::Stamp : *number == 0 ? TagKind::Empty : TagKind::Other;
    }
    // Same kind and same text: cheaper than the rules' comparisons, which also
    // try to read a text as a number.
    if (tag == EmptyText) {
        return TagKind::Empty;
    }
    return tag == FoodText ? TagKind::Food : TagKind::Other;
}

bool candidateFree(const Board& board) {
    for (std::int16_t r = 1; r < Board::Rows; ++r) {
        for (std::int16_t c = 1; c < Board::Columns; ++c) {
            if (kindOf(board.Cells(r, c).Tag) == TagKind::Empty) {
                return true;
            }
        }
    }
    return false;
}

bool onBoard(int row, int col) {
    return row >= 1 && row <= Board::Rows && col >= 1 && col <= Board::Columns;
}

bool touch(Board::Position a, Board::Position b) {
    return std::abs(a.row - b.row) + std::abs(a.col - b.col) == 1;
}

std::string at(std::int16_t row, std::int16_t col) {
    return " at " + std::to_string(row) + "," + std::to_string(col);
}

// What a cell that is neither a body segment nor the head may look like: empty
// (white, white, "" or 0) or food (red, white, "Red"). Null when it does.
const char* checkOtherCell(const Cell& cell, TagKind kind) {
    if (cell.BorderColor != White) {
        return "a cell off the worm has a coloured border";
    }
    if (cell.BackColor == Red) {
        return kind == TagKind::Food ? nullptr : "a red cell without the food tag";
    }
    if (cell.BackColor != White) {
        return "a cell off the worm is neither white nor red";
    }
    return kind == TagKind::Empty ? nullptr : "a white cell whose tag is not empty";
}

}  // namespace

std::string checkInvariants(const Game& game) {
    const GameVars& v = game.vars();
    const Board& board = game.board();
    if (v.MoveCount - v.TailStamp != v.Score + 2) {
        return "MoveCount - TailStamp != Score + 2";
    }
    if (v.Score < 0) {
        return "negative score";
    }
    if (v.Direction < heading::Left || v.Direction > heading::Down) {
        return "heading " + std::to_string(v.Direction);
    }
    if (!onBoard(v.HeadRow, v.HeadCol) || !onBoard(v.PrevRow, v.PrevCol)) {
        return "head off the board";
    }
    // The cell of each stamp by its age, MoveCount - stamp; row 0 while none has it.
    std::array<Board::Position, Board::CellCount> cellOfAge{};
    int stamps = 0;
    int food = 0;
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            const Cell& cell = board.Cells(r, c);
            if (cell.BackColor == Red) {
                ++food;
                if (r == Board::Rows || c == Board::Columns) {
                    return "food outside rows 1..9 and columns 1..23" + at(r, c);
                }
            }
            const TagKind kind = kindOf(cell.Tag);
            if (kind == TagKind::Stamp) {
                const std::int16_t stamp = *cell.Tag.asNumber();
                if (cell.BackColor != Silver || cell.BorderColor != NearBlack) {
                    return "a stamped cell is not painted as body" + at(r, c);
                }
                if (stamp <= v.TailStamp || stamp > v.MoveCount) {
                    return "stamp " + std::to_string(stamp) + " outside TailStamp+1..MoveCount";
                }
                const int age = v.MoveCount - stamp;
                if (age >= Board::CellCount) {
                    return "stamps do not run without gaps up to MoveCount";
                }
                Board::Position& where = cellOfAge[static_cast<std::size_t>(age)];
                if (where.row != 0) {
                    return "stamp " + std::to_string(stamp) + " occurs twice";
                }
                where = {r, c};
                ++stamps;
            } else if (cell.BorderColor == NearBlack) {
                return "a body border without a stamp" + at(r, c);
            } else if (cell.BorderColor == Red || cell.BackColor == Silver) {
                // The head: where the last move left it, silver, or red with food
                // on it; its tag is the one it had before the head came.
                const bool fill =
                    cell.BackColor == Silver || (cell.BackColor == Red && kind == TagKind::Food);
                if (r != v.PrevRow || c != v.PrevCol || cell.BorderColor != Red || !fill ||
                    kind == TagKind::Other) {
                    return "a cell painted as head is not the head" + at(r, c);
                }
            } else if (const char* broken = checkOtherCell(cell, kind)) {
                return broken + at(r, c);
            }
        }
    }
    if (food > 1 || (food == 0 && candidateFree(board))) {
        return std::to_string(food) + " food cells";
    }
    if (stamps == 0) {
        return {};
    }
    // The body is a chain from the neck, stamped MoveCount and next to the head,
    // back to the tail, one stamp per move.
    for (int age = 0; age < stamps; ++age) {
        if (cellOfAge[static_cast<std::size_t>(age)].row == 0) {
            return "stamps do not run without gaps up to MoveCount";
        }
    }
    const auto cellOf = [&](int age) { return cellOfAge[static_cast<std::size_t>(age)]; };
    if (!touch(cellOf(0), {v.PrevRow, v.PrevCol})) {
        return "the newest stamp is not next to the head";
    }
    for (int age = 1; age < stamps; ++age) {
        if (!touch(cellOf(age - 1), cellOf(age))) {
            return "consecutive stamps on cells that do not touch";
        }
    }
    return {};
}

}  // namespace korvel::testing
