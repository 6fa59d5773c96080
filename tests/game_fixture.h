#pragma once

#include <gtest/gtest.h>

#include "rules/game.h"
#include "tests/fake_platform.h"
#include "tests/invariants.h"

namespace korvel::testing {

// A game with a fake platform; food lands where the test scripts it.
class GameTest : public ::testing::Test {
protected:
    // Loads the game with its first food at (row, col).
    void load(int foodRow = 2, int foodCol = 2) {
        fake.queueCell(foodRow, foodCol);
        game.Form_Load();
    }
    void newGame(int foodRow = 2, int foodCol = 2) {
        fake.queueCell(foodRow, foodCol);
        game.mnuNewGame_Click();
    }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            game.Timer1_Timer();
        }
    }
    void press(std::int16_t key) { game.Form_KeyDown(key, 0); }
    [[nodiscard]] const Cell& cell(int row, int col) const {
        return game.board().Cells(static_cast<std::int16_t>(row), static_cast<std::int16_t>(col));
    }
    [[nodiscard]] GameVars& vars() { return game.vars(); }
    [[nodiscard]] int countCells(Color fill) const {
        int n = 0;
        for (std::int16_t r = 1; r <= Board::Rows; ++r) {
            for (std::int16_t c = 1; c <= Board::Columns; ++c) {
                n += game.board().Cells(r, c).BackColor == fill ? 1 : 0;
            }
        }
        return n;
    }

    FakePlatform fake;
    Game game{fake};
};

}  // namespace korvel::testing
