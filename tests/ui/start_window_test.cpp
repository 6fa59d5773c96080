// The game window opens modally from the backdrop, once, whether or not the
// window manager ever activates the backdrop; activated later (a click on it),
// the backdrop hands the keyboard back to a notice, or else to the game.
#include "ui/start_window.h"
#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

// Keeps every activation from the start window, as a window manager might.
struct NoActivation : QObject {
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        return event->type() == QEvent::ActivationChange;
    }
};

TEST(StartWindow, OpensTheGameOnceEvenIfNeverActivatedAndHandsItTheKeyboardLater) {
    QtPlatform platform;
    platform.setEndHook([] {});
    answerNextBox();  // the credits
    frmMain start(platform);
    NoActivation filter;
    start.installEventFilter(&filter);
    start.showBackdrop();

    bool seen = false;
    once([&] { return start.gameWindow() != nullptr && start.gameWindow()->isVisible(); },
         [&] {
             frmGame* game = start.gameWindow();
             EXPECT_EQ(game->windowModality(), Qt::ApplicationModal);
             game->findChild<QTimer*>("Timer1")->stop();
             start.removeEventFilter(&filter);
             answerNextBox([&](QMessageBox& box) {
                 start.activateWindow();
                 QTest::qWait(50);
                 EXPECT_TRUE(box.isActiveWindow());
             });
             platform.messageBox("x", Platform::OkOnly, std::nullopt);
             start.activateWindow();
             EXPECT_TRUE(waitUntil([&] { return game->isActiveWindow(); }));
             QTest::qWait(50);
             int games = 0;
             for (QWidget* widget : QApplication::topLevelWidgets()) {
                 games += qobject_cast<frmGame*>(widget) != nullptr ? 1 : 0;
             }
             EXPECT_EQ(games, 1);
             EXPECT_EQ(start.gameWindow(), game);
             seen = true;
             game->hide();  // lets the modal loop, and with it Form_Activate, return
         });
    ASSERT_TRUE(waitUntil([&] { return seen; }, 3000));
}

}  // namespace
}  // namespace korvel::testing
