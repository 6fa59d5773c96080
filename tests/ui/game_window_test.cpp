// The game window as the player meets it: caption, fixed size, menu, F1, the
// timer, the keys reaching the game, the picture of the board after real
// ticks, and the game-over notice.
#include <QMenuBar>

#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

TEST_F(GameWindowTest, CaptionIsTheGameNameInStraightQuotes) {
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Игра \"Корвел\""));
    EXPECT_EQ(window->windowTitle().size(), 13);
}

TEST_F(GameWindowTest, ClientAreaStays577By242UnderTheMenuBar) {
    show();
    const QWidget* board = window->boardView();
    EXPECT_EQ(board->size(), QSize(577, 242));
    EXPECT_EQ(board->mapTo(window.get(), QPoint(0, 0)),
              QPoint(0, window->menuBar()->geometry().bottom() + 1));
    EXPECT_EQ(window->width(), 577);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    window->resize(900, 700);
    EXPECT_EQ(board->size(), QSize(577, 242));
    EXPECT_EQ(window->width(), 577);
}

TEST_F(GameWindowTest, IsATopLevelWindowWithACloseButtonOnly) {
    EXPECT_EQ(window->parentWidget(), nullptr);  // so it has a taskbar button
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(GameWindowTest, MenuFileHoldsNewGameWithF1ASeparatorAndExit) {
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 1);
    const QMenu* file = bar[0]->menu();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->objectName(), "mnuFile");
    EXPECT_EQ(file->title(), QString::fromUtf8("Файл"));

    const QList<QAction*> items = file->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->objectName(), "mnuNewGame");
    EXPECT_EQ(items[0]->text(), QString::fromUtf8("Новая Игра"));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(items[1]->objectName(), "mnu");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->objectName(), "mnuExit");
    EXPECT_EQ(items[2]->text(), QString::fromUtf8("Выход"));
    for (const QAction* item : items) {
        EXPECT_TRUE(item->isEnabled() && item->isVisible() && !item->isChecked());
        EXPECT_FALSE(item->text().contains('&'));
    }
}

TEST_F(GameWindowTest, TimerIsPreciseAndAlreadyRunsAt90msWhenTheWindowIsBuilt) {
    EXPECT_EQ(timer().timerType(), Qt::PreciseTimer);
    EXPECT_EQ(timer().interval(), 90);
    EXPECT_TRUE(timer().isActive());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(vars().HeadRow, 9);  // Form_Load has run
}

TEST_F(GameWindowTest, ArrowKeysSteerWhateverModifiersAreHeldAndWhoeverHasTheFocus) {
    timer().stop();
    show();
    QTest::keyClick(nativeWindow(), Qt::Key_Left);
    EXPECT_EQ(vars().Direction, heading::Left);
    QTest::keyClick(nativeWindow(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(vars().Direction, heading::Down);
    QTest::keyClick(nativeWindow(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(vars().Direction, heading::Right);
    // The menu bar moves between its menus with the arrows when it has the
    // focus; the game must still see them.
    window->menuBar()->setFocus();
    QTest::keyClick(nativeWindow(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(vars().Direction, heading::Up);
    // A key held down repeats; every repeat is a key-down of its own.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(nativeWindow(), &repeat);
    EXPECT_EQ(vars().Direction, heading::Left);
}

TEST_F(GameWindowTest, F1DuringPlayAndNewGameAfterAGameOverStartAFreshGame) {
    show();
    ASSERT_TRUE(waitUntil([&] { return vars().MoveCount >= 2; }));
    QTest::keyClick(nativeWindow(), Qt::Key_F1);
    EXPECT_EQ(vars().HeadRow, 9);
    EXPECT_EQ(vars().HeadCol, 7);
    EXPECT_EQ(vars().TailStamp, vars().MoveCount - 2);

    answerNextBox();
    ASSERT_TRUE(waitUntil([&] { return !timer().isActive(); }));  // over at the wall
    window->findChild<QAction*>("mnuNewGame")->trigger();
    EXPECT_TRUE(timer().isActive());
    EXPECT_EQ(timer().interval(), 90);
    EXPECT_EQ(vars().HeadRow, 9);
    QTest::keyClick(nativeWindow(), Qt::Key_F1);  // F1 also works while the game runs
    EXPECT_EQ(vars().HeadRow, 9);
    EXPECT_TRUE(timer().isActive());
}

TEST_F(GameWindowTest, BoardShowsHeadBodyFoodAndEmptyCellsAfterRealTicks) {
    ASSERT_NE(vars().FoodCol, 7) << "the fixed clock should keep food off the worm's path";
    show();
    ASSERT_TRUE(waitUntil([&] { return vars().MoveCount >= 3; }));
    timer().stop();
    QTest::qWait(30);  // let the last repaint reach the window
    const QImage shot = shownPixels();
    const int head = vars().HeadRow;
    ASSERT_EQ(vars().HeadCol, 7);

    const QColor silver(0xC0, 0xC0, 0xC0);
    EXPECT_TRUE(near(cellPixel(shot, head, 7, 12, 12), silver));
    EXPECT_TRUE(
        near(cellPixel(shot, head, 7, 0, 12), Qt::red, EdgeTolerance));  // the head's outline
    for (int body : {head + 1, head + 2}) {
        EXPECT_TRUE(near(cellPixel(shot, body, 7, 12, 12), silver));
        EXPECT_TRUE(near(cellPixel(shot, body, 7, 0, 12), Qt::black, EdgeTolerance));
    }
    EXPECT_TRUE(near(cellPixel(shot, head + 3, 7, 12, 12), Qt::white));  // freed by the tail
    EXPECT_TRUE(near(cellPixel(shot, vars().FoodRow, vars().FoodCol, 12, 12), Qt::red));
    EXPECT_TRUE(near(cellPixel(shot, 10, 24, 12, 12), Qt::white));
}

TEST_F(GameWindowTest, WallNoticeOpensOverTheFinalPictureAndHoldsBackTheTicks) {
    playIntoTheWall([&](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Korvel");
        EXPECT_EQ(box.text(), QString::fromUtf8("Тупик\nYou have %1 Points").arg(vars().Score));
        EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);

        const GameVars before = vars();
        QTest::qWait(400);  // several tick intervals
        EXPECT_EQ(openBox(), &box) << "a second notice opened";
        EXPECT_EQ(vars().MoveCount, before.MoveCount);
        EXPECT_EQ(vars().HeadRow, 1);
        // The move into row 1 is on screen although its handler has not
        // returned yet.
        EXPECT_TRUE(near(cellPixel(shownPixels(), 1, 7, 12, 12), QColor(0xC0, 0xC0, 0xC0)));
    });
    EXPECT_FALSE(timer().isActive());
}

}  // namespace
}  // namespace korvel::testing
