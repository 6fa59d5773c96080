// The board's addressing, its binding to the circles Shape1..Shape240, and the
// record of changed cells that lets the view repaint only those.
#include <gtest/gtest.h>

#include <stdexcept>

#include "model/board.h"

namespace korvel {
namespace {

TEST(BoardLayout, CornersAreTheExpectedShapes) {
    EXPECT_EQ(Board::shapeNumber(1, 1), 1);
    EXPECT_EQ(Board::shapeNumber(1, 24), 24);
    EXPECT_EQ(Board::shapeNumber(2, 1), 25);
    EXPECT_EQ(Board::shapeNumber(10, 1), 217);
    EXPECT_EQ(Board::shapeNumber(10, 24), 240);
}

TEST(BoardLayout, ShapeNumbersAndCellsMapBothWays) {
    for (int k = 1; k <= Board::CellCount; ++k) {
        const auto pos = Board::cellOfShape(k);
        EXPECT_EQ(Board::shapeNumber(pos.row, pos.col), k);
    }
    EXPECT_EQ(Board::cellOfShape(240).row, 10);
    EXPECT_EQ(Board::cellOfShape(240).col, 24);
}

TEST(BoardLayout, CellsOffTheBoardAreRefused) {
    Board board;
    EXPECT_THROW((void)board.Cells(0, 1), std::out_of_range);
    EXPECT_THROW((void)board.Cells(11, 1), std::out_of_range);
    EXPECT_THROW((void)board.Cells(1, 25), std::out_of_range);
    EXPECT_THROW(board.setBackColor(1, 0, Red), std::out_of_range);
    EXPECT_THROW((void)Board::cellOfShape(241), std::out_of_range);
}

TEST(BoardCells, StartAsClearedCells) {
    Board board;
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            EXPECT_EQ(board.Cells(r, c).BackColor, White);
            EXPECT_EQ(board.Cells(r, c).BorderColor, White);
            EXPECT_TRUE(board.Cells(r, c).Tag.equalsText(""));
        }
    }
}

TEST(BoardCells, ReadsReturnTheLastWrite) {
    Board board;
    board.setBackColor(3, 4, Silver);
    board.setBorderColor(3, 4, NearBlack);
    board.setTag(3, 4, TagValue::number(5));
    EXPECT_EQ(board.Cells(3, 4).BackColor, Silver);
    EXPECT_EQ(board.Cells(3, 4).BorderColor, NearBlack);
    EXPECT_TRUE(board.Cells(3, 4).Tag.equalsNumber(5));
    EXPECT_EQ(board.Cells(4, 3).BackColor, White);
}

TEST(BoardChanges, ReportsEachRecolouredCellOnce) {
    Board board;
    board.setBackColor(1, 1, Red);
    board.setBorderColor(1, 1, Red);
    board.setBackColor(10, 24, Silver);
    EXPECT_EQ(board.takeChangedShapes(), (std::vector<int>{1, 240}));
    EXPECT_TRUE(board.takeChangedShapes().empty());
}

TEST(BoardChanges, TagsAndUnchangedColoursAreNotChanges) {
    Board board;
    board.setTag(2, 2, TagValue::text("Red"));
    board.setBackColor(2, 3, White);
    EXPECT_TRUE(board.takeChangedShapes().empty());
}

}  // namespace
}  // namespace korvel
