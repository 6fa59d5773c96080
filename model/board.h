#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/colors.h"
#include "model/tag.h"

namespace korvel {

// One position of the board. The colours are what its circle shows; the tag
// is never shown and says what occupies the cell.
struct Cell {
    Color BackColor = White;
    Color BorderColor = White;
    TagValue Tag;
};

// The board is the game's only record of the worm and the food: the rules
// write cell properties and read them back. It also remembers which cells
// changed colour since the view last asked, so the view repaints only those.
class Board {
public:
    static constexpr std::int16_t Rows = 10;
    static constexpr std::int16_t Columns = 24;
    static constexpr int CellCount = Rows * Columns;

    // Rows 1..10 from the top, columns 1..24 from the left; anything else throws
    // std::out_of_range.
    [[nodiscard]] const Cell& Cells(std::int16_t row, std::int16_t col) const {
        return cells_[index(row, col)];
    }

    void setBackColor(std::int16_t row, std::int16_t col, Color color);
    void setBorderColor(std::int16_t row, std::int16_t col, Color color);
    void setTag(std::int16_t row, std::int16_t col, TagValue tag);

    // Circle `Shape`K shows cell ((K - 1) div 24 + 1, (K - 1) mod 24 + 1).
    [[nodiscard]] static int shapeNumber(std::int16_t row, std::int16_t col);
    struct Position {
        std::int16_t row;
        std::int16_t col;
    };
    [[nodiscard]] static Position cellOfShape(int shape);

    // Shape numbers of the cells whose fill or border colour has changed since
    // the last call, each once, in the order they first changed.
    [[nodiscard]] std::vector<int> takeChangedShapes();

private:
    // Inline and free of the throw's string building: every pass over the board
    // calls it 240 times per tick.
    [[nodiscard]] static std::size_t index(std::int16_t row, std::int16_t col) {
        if (row < 1 || row > Rows || col < 1 || col > Columns) {
            throwOutOfRange(row, col);
        }
        return static_cast<std::size_t>((row - 1) + (col - 1) * Rows);
    }
    [[noreturn]] static void throwOutOfRange(std::int16_t row, std::int16_t col);
    void markChanged(std::int16_t row, std::int16_t col);

    // Row varies fastest: cell (r, c) sits at (r - 1) + (c - 1) * 10.
    std::array<Cell, CellCount> cells_{};
    std::array<bool, CellCount> changed_{};
    std::vector<int> changedShapes_;
};

}  // namespace korvel
