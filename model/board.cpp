#include "model/board.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace korvel {

void Board::throwOutOfRange(std::int16_t row, std::int16_t col) {
    throw std::out_of_range("no cell at row " + std::to_string(row) + ", column " +
                            std::to_string(col));
}

void Board::setBackColor(std::int16_t row, std::int16_t col, Color color) {
    Cell& cell = cells_[index(row, col)];
    if (cell.BackColor != color) {
        cell.BackColor = color;
        markChanged(row, col);
    }
}

void Board::setBorderColor(std::int16_t row, std::int16_t col, Color color) {
    Cell& cell = cells_[index(row, col)];
    if (cell.BorderColor != color) {
        cell.BorderColor = color;
        markChanged(row, col);
    }
}

void Board::setTag(std::int16_t row, std::int16_t col, TagValue tag) {
    cells_[index(row, col)].Tag = std::move(tag);
}

int Board::shapeNumber(std::int16_t row, std::int16_t col) {
    (void)index(row, col);  // range check
    return (row - 1) * Columns + col;
}

Board::Position Board::cellOfShape(int shape) {
    if (shape < 1 || shape > CellCount) {
        throw std::out_of_range("no shape " + std::to_string(shape));
    }
    return {static_cast<std::int16_t>((shape - 1) / Columns + 1),
            static_cast<std::int16_t>((shape - 1) % Columns + 1)};
}

void Board::markChanged(std::int16_t row, std::int16_t col) {
    const std::size_t i = index(row, col);
    if (!changed_[i]) {
        changed_[i] = true;
        changedShapes_.push_back(shapeNumber(row, col));
    }
}

std::vector<int> Board::takeChangedShapes() {
    std::vector<int> shapes;
    shapes.swap(changedShapes_);
    changed_.fill(false);
    return shapes;
}

}  // namespace korvel
