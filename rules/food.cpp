#include <stdexcept>

#include "rules/game.h"

namespace korvel {
namespace {

// Food goes anywhere but the bottom row and the rightmost column.
constexpr std::int16_t FoodRows = Board::Rows - 1;
constexpr std::int16_t FoodColumns = Board::Columns - 1;

bool eligible(const Cell& cell) {
    return cell.Tag.equalsNumber(0) || cell.Tag.equalsText("");
}

std::int16_t drawIndex(Platform& platform, std::int16_t count) {
    const double r = platform.drawRandom();
    if (!(r >= 0.0 && r < 1.0)) {
        throw std::domain_error("random draw outside [0, 1)");
    }
    return static_cast<std::int16_t>(static_cast<int>(r * count) + 1);
}

}  // namespace

bool Game::anyCellEligibleForFood() const {
    for (std::int16_t row = 1; row <= FoodRows; ++row) {
        for (std::int16_t col = 1; col <= FoodColumns; ++col) {
            if (eligible(board_.Cells(row, col))) {
                return true;
            }
        }
    }
    return false;
}

void Game::RndCell() {
    // On a board with nothing eligible the search below could never end; leave
    // the board without food instead, and the move step will try again.
    if (!anyCellEligibleForFood()) {
        return;
    }
    // Drawing until a hit keeps every eligible cell equally likely.
    for (;;) {
        platform_.reseedRandom();
        vars_.FoodRow = drawIndex(platform_, FoodRows);
        vars_.FoodCol = drawIndex(platform_, FoodColumns);
        const TagValue& tag = board_.Cells(vars_.FoodRow, vars_.FoodCol).Tag;
        if (tag.equalsNumber(0) || tag.equalsText("")) {
            break;
        }
    }
    board_.setBackColor(vars_.FoodRow, vars_.FoodCol, Red);
    board_.setTag(vars_.FoodRow, vars_.FoodCol, TagValue::text("Red"));
}

}  // namespace korvel
