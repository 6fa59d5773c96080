#include <limits>
#include <string>

#include "model/int16.h"
#include "rules/game.h"

namespace korvel {
namespace {

// Where one move takes the head, by heading: left, up, right, down.
struct Step {
    int dRow;
    int dCol;
};
constexpr Step Steps[] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};

}  // namespace

void Game::Timer1_Timer() {
    // Only load, New Game and steering write Direction, always 1 to 4.
    if (vars_.Direction < heading::Left || vars_.Direction > heading::Down) {
        return;
    }
    const Step step = Steps[vars_.Direction - 1];
    const int row = vars_.HeadRow + step.dRow;
    const int col = vars_.HeadCol + step.dCol;
    if (row < 1 || row > Board::Rows || col < 1 || col > Board::Columns) {
        gameOver("Тупик", "");
        return;
    }
    vars_.HeadRow = checked16(row);
    vars_.HeadCol = checked16(col);
    SMove();
}

void Game::SMove() {
    const std::int16_t row = vars_.HeadRow;
    const std::int16_t col = vars_.HeadCol;

    // The collision test comes before the tail erase, so running into the tail
    // ends the game even though this very move would have freed that cell.
    if (board_.Cells(row, col).BackColor == Silver) {
        gameOver("Врезались в себя", std::nullopt);
        return;
    }

    if (vars_.MoveCount == std::numeric_limits<std::int16_t>::max()) {
        renumberStamps();
    }
    add16(vars_.MoveCount, 1);
    add16(vars_.TailStamp, 1);

    if (board_.Cells(row, col).Tag.equalsText("Red")) {
        // Holding the tail back for one move is what makes the worm grow.
        RndCell();
        add16(vars_.TailStamp, -1);
        add16(vars_.Score, 1);
    }

    // The head's tag is left stale; the cell gets its stamp when the head leaves.
    board_.setBackColor(row, col, Silver);
    board_.setBorderColor(row, col, Red);

    board_.setBackColor(vars_.PrevRow, vars_.PrevCol, Silver);
    board_.setTag(vars_.PrevRow, vars_.PrevCol, TagValue::number(vars_.MoveCount));
    board_.setBorderColor(vars_.PrevRow, vars_.PrevCol, NearBlack);

    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            if (board_.Cells(r, c).Tag.equalsNumber(vars_.TailStamp)) {
                board_.setBackColor(r, c, White);
                board_.setBorderColor(r, c, White);
                board_.setTag(r, c, TagValue::number(0));
            }
        }
    }

    vars_.PrevRow = row;
    vars_.PrevCol = col;

    // Food placed on the neck while eating, or on the start cell, has just been
    // painted over: put it somewhere else.
    bool foodLeft = false;
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            if (board_.Cells(r, c).BackColor == Red) {
                foodLeft = true;
            }
        }
    }
    if (!foodLeft) {
        RndCell();
    }
}

// MoveCount counts moves over all games and would pass 32767 after about 49
// minutes of play. Before it does, shift every stamp, MoveCount and TailStamp
// down by one offset so that TailStamp becomes 1: the body keeps its order and
// its distinct stamps, MoveCount - TailStamp stays Score + 2, and the tail erase
// keeps looking for stamps of 2 and more, never for the 0 of a freed cell.
void Game::renumberStamps() {
    const int offset = vars_.TailStamp - 1;
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            const auto stamp = board_.Cells(r, c).Tag.asNumber();
            if (stamp && *stamp > 0) {
                board_.setTag(r, c, TagValue::number(checked16(*stamp - offset)));
            }
        }
    }
    vars_.MoveCount = checked16(vars_.MoveCount - offset);
    vars_.TailStamp = checked16(vars_.TailStamp - offset);
}

void Game::gameOver(std::string_view reason, std::optional<std::string_view> title) {
    std::string text(reason);
    text += "\n\r";  // line feed first, then carriage return
    text += "You have ";
    text += std::to_string(vars_.Score);
    text += " Points";
    platform_.messageBox(text, Platform::OkOnly, title);
    platform_.setTimerInterval(0);
}

}  // namespace korvel
