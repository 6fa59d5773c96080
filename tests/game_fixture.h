#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/game.h"
#include "tests/fake_platform.h"

namespace korvel::testing {

// Part of the board as rows of characters from row 1, column 1: '.' empty,
// '0' freed by the tail, '1'..'9' a body segment with that stamp, 'H' a head
// on a cell tagged "", '*' food; any other cell reads as '?'.
using Picture = std::vector<std::string>;

inline Cell cellFor(char c) {
    const bool stamp = c >= '1' && c <= '9';
    return stamp      ? Cell{Silver, NearBlack, TagValue::number(c - '0')}
           : c == 'H' ? Cell{Silver, Red, TagValue::text("")}
           : c == '*' ? Cell{Red, White, TagValue::text("Red")}
                      : Cell{White, White, c == '0' ? TagValue::number(0) : TagValue::text("")};
}

inline char charOf(const Cell& cell) {
    for (const char c : std::string(".0*H123456789")) {
        const Cell drawn = cellFor(c);
        if (cell.BackColor == drawn.BackColor && cell.BorderColor == drawn.BorderColor &&
            cell.Tag == drawn.Tag) {
            return c;
        }
    }
    return '?';
}

// A game with a fake platform; food lands where the test scripts it.
class GameTest : public ::testing::Test {
protected:
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            game.Timer1_Timer();
        }
    }
    void press(std::int16_t key) { game.Form_KeyDown(key, 0); }
    GameVars& vars() { return game.vars(); }

    // Paints the cells only; the test sets the variables that go with them.
    void draw(const Picture& lines) {
        for (int row = 1; row <= static_cast<int>(lines.size()); ++row) {
            for (int col = 1; col <= static_cast<int>(lines[row - 1].size()); ++col) {
                const Cell cell = cellFor(lines[row - 1][col - 1]);
                game.board().setBackColor(row, col, cell.BackColor);
                game.board().setBorderColor(row, col, cell.BorderColor);
                game.board().setTag(row, col, cell.Tag);
            }
        }
    }
    // Rows top.. of columns 1..cols.
    [[nodiscard]] Picture shown(int top, int rows, int cols) const {
        Picture lines(rows);
        for (int i = 0; i < rows; ++i) {
            for (int col = 1; col <= cols; ++col) {
                lines[i] += charOf(game.board().Cells(top + i, col));
            }
        }
        return lines;
    }

    FakePlatform fake;
    Game game{fake};
};

}  // namespace korvel::testing
