// The cells' circles, the repaint record and the tag comparisons the rules make.
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

TEST(TagValue, EmptyFoodFreedAndStampTagsEachMatchOnlyTheirOwnComparison) {
    const TagValue tags[] = {TagValue::text(""), TagValue::text("Red"), TagValue::number(0),
                             TagValue::number(17)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tags[i].equalsText(""), i == 0) << i;
        EXPECT_EQ(tags[i].equalsText("Red"), i == 1) << i;
        EXPECT_EQ(tags[i].equalsNumber(0), i == 2) << i;
        EXPECT_EQ(tags[i].equalsNumber(17), i == 3) << i;
    }
    EXPECT_TRUE(TagValue::text("17").equalsNumber(17));  // a text that reads as a number
}

}  // namespace
}  // namespace korvel
