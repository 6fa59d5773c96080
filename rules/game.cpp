#include "rules/game.h"

#include "model/int16.h"

namespace korvel {

void Game::Form_Load() {
    // Every cell already holds its layout values (white, white, empty text), and
    // the view finds cell (r, c) as Shape (r - 1) * 24 + c: nothing to write.
    vars_.HeadRow = 9;
    vars_.HeadCol = 7;
    vars_.PrevRow = 9;
    vars_.PrevCol = 7;
    vars_.Direction = heading::Up;
    vars_.MoveCount = 0;
    vars_.TailStamp = -2;
    RndCell();
}

void Game::mnuNewGame_Click() {
    for (std::int16_t row = 1; row <= Board::Rows; ++row) {
        for (std::int16_t col = 1; col <= Board::Columns; ++col) {
            board_.setBackColor(row, col, White);
            board_.setBorderColor(row, col, White);
            board_.setTag(row, col, TagValue::text(""));
        }
    }
    vars_.HeadCol = 7;
    vars_.PrevCol = 7;
    vars_.HeadRow = 9;
    vars_.PrevRow = 9;
    vars_.Direction = heading::Up;
    platform_.setTimerInterval(TickInterval);
    RndCell();
    vars_.Score = 0;
    // MoveCount goes on across games, so stamps keep rising; it is never
    // negative, so this cannot overflow.
    vars_.TailStamp = checked16(vars_.MoveCount - 2);
}

void Game::Form_Deactivate() {
    platform_.takeFocus();
}

void Game::Form_Unload() {
    platform_.endProgram();
}

void Game::mnuExit_Click() {
    platform_.endProgram();
}

}  // namespace korvel
