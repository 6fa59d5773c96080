// Each circle's place, size and colours: red in the low byte of a colour, a
// 25-pixel circle every 24 pixels, a one-pixel outline in the border colour.
#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

TEST(BoardView, CirclesSitEvery24PixelsInTheirOwnColours) {
    Board board;
    BoardView view(board);
    for (auto [row, col] : {std::pair{1, 1}, {1, 24}, {2, 1}, {10, 24}}) {
        board.setBackColor(static_cast<std::int16_t>(row), static_cast<std::int16_t>(col), Red);
    }
    board.setBackColor(5, 5, Silver);
    board.setBorderColor(5, 5, NearBlack);
    const QImage shot = view.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(577, 242));
    for (QPoint centre : {QPoint(12, 12), QPoint(564, 12), QPoint(12, 36), QPoint(564, 228)}) {
        EXPECT_EQ(shot.pixelColor(centre), QColor(Qt::red)) << centre.x() << "," << centre.y();
    }
    EXPECT_EQ(shot.pixelColor(36, 12), QColor(Qt::white));  // (1, 2) is empty
    // Cell (5, 5) covers x and y 96..120: its outline is the square's edge.
    const auto at = [&](int x, int y) { return shot.pixelColor(96 + x, 96 + y); };
    for (QPoint edge : {QPoint(0, 12), QPoint(24, 12), QPoint(12, 0), QPoint(12, 24)}) {
        EXPECT_LT(at(edge.x(), edge.y()).lightness(), 100) << edge.x() << "," << edge.y();
    }
    for (QPoint inside : {QPoint(2, 12), QPoint(22, 12), QPoint(12, 2), QPoint(12, 22)}) {
        EXPECT_EQ(at(inside.x(), inside.y()), QColor(0xC0, 0xC0, 0xC0));
    }
    EXPECT_EQ(at(1, 1), QColor(Qt::white));  // outside the circle
    EXPECT_EQ(at(-1, 12), QColor(Qt::white));
}

}  // namespace
}  // namespace korvel::testing
