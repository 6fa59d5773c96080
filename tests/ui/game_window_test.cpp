// The game window as the player meets it: keys and F1 reach the game whoever
// has the focus, the notice over the last picture, and a window that cannot
// be lost.
#include <QMenuBar>

#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

TEST_F(GameWindowTest, ArrowsSteerWithAnyModifierOtherKeysDoNotAndF1StartsAFreshGame) {
    show();
    timer().stop();
    key(Qt::Key_Left);
    EXPECT_EQ(vars().Direction, heading::Left);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(vars().Direction, heading::Down);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(vars().Direction, heading::Right);
    for (Qt::Key other : {Qt::Key_A, Qt::Key_Space, Qt::Key_Return, Qt::Key_F2, Qt::Key_Home}) {
        key(other);
    }
    EXPECT_EQ(vars().Direction, heading::Right);
    key(Qt::Key_Up, Qt::KeypadModifier);  // the keypad's arrows, NumLock off
    EXPECT_EQ(vars().Direction, heading::Up);
    // The menu bar moves between its menus with the arrows when it has the
    // focus; the game must still see them.
    window->menuBar()->setFocus();
    key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(vars().Direction, heading::Left);

    timer().start();
    ASSERT_TRUE(waitUntil([&] { return vars().MoveCount >= 2; }));
    key(Qt::Key_F1);
    EXPECT_EQ(vars().HeadRow, 9);
    EXPECT_EQ(vars().HeadCol, 7);
    EXPECT_EQ(vars().TailStamp, vars().MoveCount - 2);
}

TEST_F(GameWindowTest, WallNoticeShowsOverTheLastPictureAndAskedForNewGameRunsAfterIt) {
    const QColor silver(0xC0, 0xC0, 0xC0);
    bool answered = false;
    answerNextBox([&](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Korvel");
        EXPECT_EQ(box.text(), QString::fromUtf8("Тупик\nYou have 0 Points"));
        EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        QTest::qWait(300);  // several tick intervals, none of them a move
        EXPECT_EQ(openBox(), &box);
        EXPECT_EQ(vars().HeadRow, 1);
        for (int row : {1, 2, 3}) {
            EXPECT_EQ(shownCentre(row, 7), silver) << row;
        }
        EXPECT_EQ(shownCentre(4, 7), QColor(Qt::white));
        EXPECT_EQ(shownCentre(vars().FoodRow, vars().FoodCol), QColor(Qt::red));
        // Chosen under the notice, a new game must not be stopped by it.
        window->findChild<QAction*>("mnuNewGame")->trigger();
        answered = true;
    });
    show();  // heading up from row 9, the worm meets the top wall
    ASSERT_TRUE(waitUntil([&] { return answered && openBox() == nullptr; }));
    EXPECT_TRUE(timer().isActive());
    EXPECT_EQ(vars().HeadRow, 9);
}

TEST_F(GameWindowTest, AMinimisedWindowComesStraightBackAndKeepsItsModalWait) {
    bool minimised = false;
    bool hidden = false;
    once([&] { return window->isVisible(); },
         [&] {
             window->setWindowState(Qt::WindowMinimized);
             minimised = true;
         });
    once([&] { return minimised && !window->isMinimized(); },
         [&] {
             hidden = true;
             window->hide();
         });
    timer().stop();  // no game-over notice to wait in
    QTimer::singleShot(3000, window.get(), [&] {
        window->setWindowState(Qt::WindowNoState);
        window->hide();
    });
    window->showModal();
    EXPECT_TRUE(hidden) << "the modal wait ended with the minimise, or it stayed minimised";
}

}  // namespace
}  // namespace korvel::testing
