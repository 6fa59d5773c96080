#pragma once

#include <cstdint>

#include "rules/game.h"

namespace korvel::testing {

// The arrow key that keeps the head on a closed path through all 240 cells:
// right along the odd rows, back along the even rows to column 2, left along
// row 10 and up column 1. A worm that follows it never meets its own body
// until it fills the board.
inline std::int16_t cycleKey(std::int16_t row, std::int16_t col) {
    if (col == 1) {
        return row == 1 ? Game::KeyRight : Game::KeyUp;
    }
    if (row % 2 == 1) {
        return col < Board::Columns ? Game::KeyRight : Game::KeyDown;
    }
    if (col > 2 || row == Board::Rows) {
        return Game::KeyLeft;
    }
    return Game::KeyDown;
}

}  // namespace korvel::testing
