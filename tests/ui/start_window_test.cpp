// Start-up as the player sees it: the credits box alone first, then the black
// backdrop over the whole screen, then the game window modally on top, once,
// whether or not the window manager ever activates the backdrop.
#include "ui/start_window.h"
#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

TEST(StartWindow, CreditsBoxComesFirstAloneWithItsOwnTitleAndTwoLines) {
    QtPlatform platform;
    int shown = 0;
    QString title;
    QStringList lines;
    answerNextBox([&](QMessageBox& box) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            shown += widget->isVisible() ? 1 : 0;
        }
        title = box.windowTitle();
        lines = box.text().split('\n');
    });
    frmMain start(platform);
    EXPECT_EQ(shown, 1);
    EXPECT_NE(title, "Korvel");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_FALSE(lines[0].isEmpty() || lines[1].isEmpty() || lines[1].contains('\r'));
    EXPECT_FALSE(start.isVisible());
    EXPECT_EQ(start.gameWindow(), nullptr);
}

// Keeps every activation from the start window, as a window manager might.
struct NoActivation : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::ActivationChange;
    }
};

TEST(StartWindow, BlackBackdropOpensTheGameOnceEvenIfNeverActivated) {
    QtPlatform platform;
    platform.setEndHook([] {});
    answerNextBox();
    frmMain start(platform);
    NoActivation filter;
    start.installEventFilter(&filter);
    start.showBackdrop();

    bool seen = false;
    once([&] { return start.gameWindow() != nullptr && start.gameWindow()->isVisible(); },
         [&] {
             frmGame* game = start.gameWindow();
             const QRect screen = start.screen()->geometry();
             EXPECT_EQ(start.geometry(), screen);
             EXPECT_EQ(start.screen()->grabWindow(start.winId()).toImage().pixelColor(5, 5),
                       QColor(Qt::black));
             EXPECT_EQ(game->windowModality(), Qt::ApplicationModal);
             EXPECT_LE((game->geometry().center() - screen.center()).manhattanLength(), 2);
             // Activated after all (a click on it), the backdrop hands the
             // keyboard back to a notice, or else to the game window, and
             // opens no second game window.
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
