// Where each circle sits and what it looks like, and that a change repaints
// only the circles it touched.
#include <QPaintEvent>

#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

class BoardViewTest : public ::testing::Test {
protected:
    void paintCell(int row, int col, Color fill, Color border) {
        board.setBackColor(static_cast<std::int16_t>(row), static_cast<std::int16_t>(col), fill);
        board.setBorderColor(static_cast<std::int16_t>(row), static_cast<std::int16_t>(col),
                             border);
    }

    Board board;
    BoardView view{board};
};

TEST_F(BoardViewTest, BoardWithoutWormOrFoodIsPlainWhite) {
    const QImage shot = view.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(577, 242));
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            ASSERT_EQ(shot.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
        }
    }
}

TEST_F(BoardViewTest, CellRowColumnIsDrawnAt24PixelSteps) {
    // Red is the low byte of a colour: 0x0000FF must come out red, not blue.
    for (auto [row, col] : {std::pair{1, 1}, {1, 24}, {2, 1}, {10, 24}}) {
        paintCell(row, col, Red, Red);
    }
    const QImage shot = view.grab().toImage();
    for (QPoint centre :
         {QPoint(12, 12), QPoint(552 + 12, 12), QPoint(12, 24 + 12), QPoint(552 + 12, 216 + 12)}) {
        EXPECT_EQ(shot.pixelColor(centre), QColor(Qt::red)) << centre.x() << "," << centre.y();
    }
    EXPECT_EQ(shot.pixelColor(24 + 12, 12), QColor(Qt::white));  // (1, 2) is empty
    EXPECT_EQ(shot.pixelColor(560, 241), QColor(Qt::white));     // below the last row
}

TEST_F(BoardViewTest, FilledCircleHasAOnePixelOutlineInItsBorderColour) {
    paintCell(5, 5, Silver, NearBlack);
    const QImage shot = view.grab().toImage();
    const QPoint corner(4 * 24, 4 * 24);
    EXPECT_EQ(shot.pixelColor(corner + QPoint(12, 12)), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(near(shot.pixelColor(corner + QPoint(0, 12)), Qt::black, EdgeTolerance));
    EXPECT_TRUE(near(shot.pixelColor(corner + QPoint(12, 24)), Qt::black, EdgeTolerance));
    EXPECT_EQ(shot.pixelColor(corner + QPoint(2, 12)), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(shot.pixelColor(corner + QPoint(1, 1)), QColor(Qt::white));  // outside the circle
}

TEST_F(BoardViewTest, UpdatingAShapeRepaintsOnlyItsSquare) {
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(20);
    QRegion painted;
    struct PaintSpy : QObject {
        QRegion* painted;
        explicit PaintSpy(QRegion* region) : painted(region) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                *painted += static_cast<QPaintEvent*>(event)->region();
            }
            return false;
        }
    } spy(&painted);
    view.installEventFilter(&spy);
    const BoardView::PaintStats before = view.paintStats();

    paintCell(3, 10, Red, White);
    view.updateShapes(board.takeChangedShapes());
    ASSERT_TRUE(waitUntil([&] { return !painted.isEmpty(); }));
    const QRect square = BoardView::shapeRect(Board::shapeNumber(3, 10));
    EXPECT_TRUE(square.adjusted(-1, -1, 1, 1).contains(painted.boundingRect()));
    const QImage shown = view.screen()->grabWindow(view.winId()).toImage();
    EXPECT_EQ(shown.pixelColor(square.center()), QColor(Qt::red));
    // The counters that the benchmarks read see the same small area.
    const std::int64_t pixels = view.paintStats().pixels - before.pixels;
    EXPECT_GT(pixels, 0);
    EXPECT_LE(pixels, 27 * 27);
}

}  // namespace
}  // namespace korvel::testing
