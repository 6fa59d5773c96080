#pragma once

#include <cstdint>

#include "rules/game.h"

namespace korvel::testing {

// The arrow key that keeps the head on a closed path through every cell of
// columns 1..width: right along the odd rows, back along the even rows to
// column 2, left along row 10 and up column 1. A worm that follows it never
// meets its own body until it fills those cells.
inline std::int16_t cycleKey(std::int16_t row, std::int16_t col,
                             std::int16_t width = Board::Columns) {
    if (col == 1) {
        return row == 1 ? Game::KeyRight : Game::KeyUp;
    }
    if (row % 2 == 1) {
        return col < width ? Game::KeyRight : Game::KeyDown;
    }
    return (col > 2 || row == Board::Rows) ? Game::KeyLeft : Game::KeyDown;
}

}  // namespace korvel::testing
