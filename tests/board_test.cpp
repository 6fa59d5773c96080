// The cells' circles and the record of what the view must repaint.
#include <gtest/gtest.h>

#include <stdexcept>

#include "model/board.h"

namespace korvel {
namespace {

TEST(Board, ShapesRunAlongTheRowsFromTheTopLeft) {
    EXPECT_EQ(Board::shapeNumber(2, 1), 25);
    for (int shape = 1; shape <= Board::CellCount; ++shape) {
        const Board::Position cell = Board::cellOfShape(shape);
        EXPECT_EQ(Board::shapeNumber(cell.row, cell.col), shape);
    }
    EXPECT_THROW((void)Board::cellOfShape(241), std::out_of_range);
    EXPECT_THROW((void)Board().Cells(11, 1), std::out_of_range);
}

TEST(Board, ReportsEachRecolouredCellOnce) {
    Board board;
    board.setBorderColor(1, 1, Red);  // a border alone is a change
    board.setBackColor(10, 24, Silver);
    board.setBorderColor(10, 24, Red);        // the same cell again
    board.setBackColor(2, 2, White);          // already white
    board.setTag(3, 3, TagValue::number(4));  // tags are not shown
    EXPECT_EQ(board.takeChangedShapes(), (std::vector<int>{1, 240}));
    EXPECT_TRUE(board.takeChangedShapes().empty());
}

}  // namespace
}  // namespace korvel
