// Start-up as the player sees it: the credits box alone first, then the black
// backdrop over the whole screen, then the game window modally on top.
#include <QScreen>

#include "tests/ui/ui_support.h"
#include "ui/start_window.h"

namespace korvel::testing {
namespace {

class StartWindowTest : public ::testing::Test {
protected:
    StartWindowTest() {
        platform.setEndHook([] {});
    }
    ~StartWindowTest() override { cancelPendingActions(); }

    QtPlatform platform;
};

TEST_F(StartWindowTest, CreditsBoxComesFirstAloneWithItsOwnTitleAndTwoLines) {
    int shown = 0;
    bool boxIsShown = false;
    QString title;
    QStringList lines;
    QMessageBox::Icon icon = QMessageBox::Information;
    answerNextBox([&](QMessageBox& box) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            shown += widget->isVisible() ? 1 : 0;
        }
        boxIsShown = box.isVisible();
        title = box.windowTitle();
        lines = box.text().split('\n');
        icon = box.icon();
    });
    frmMain start(platform);

    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(boxIsShown);
    EXPECT_FALSE(title.isEmpty());
    EXPECT_NE(title, "Korvel");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_FALSE(lines[0].isEmpty() || lines[1].isEmpty());
    EXPECT_FALSE(lines[0].contains('\r') || lines[1].contains('\r'));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_FALSE(start.isVisible());
    EXPECT_EQ(start.gameWindow(), nullptr);
}

TEST_F(StartWindowTest, BlackBackdropCoversTheScreenAndOpensTheGameModallyOnTop) {
    answerNextBox();
    frmMain start(platform);
    start.showBackdrop();

    bool seen = false;
    once([&] { return start.gameWindow() != nullptr && start.gameWindow()->isVisible(); },
         [&] {
             seen = true;
             frmGame* game = start.gameWindow();
             const QRect screen = start.screen()->geometry();
             EXPECT_EQ(start.geometry(), screen);
             EXPECT_TRUE(start.windowFlags().testFlag(Qt::FramelessWindowHint));
             const QImage backdrop = start.screen()->grabWindow(start.winId()).toImage();
             EXPECT_EQ(backdrop.pixelColor(5, 5), QColor(Qt::black));
             EXPECT_EQ(backdrop.pixelColor(screen.width() - 5, screen.height() - 5),
                       QColor(Qt::black));

             EXPECT_EQ(game->windowModality(), Qt::ApplicationModal);
             EXPECT_EQ(game->parentWidget(), nullptr);
             EXPECT_LE((game->geometry().center() - screen.center()).manhattanLength(), 2);
             EXPECT_TRUE(waitUntil([&] { return game->isActiveWindow(); }));
             game->hide();  // lets the modal loop, and with it Form_Activate, return
         });
    ASSERT_TRUE(waitUntil([&] { return seen; }));
}

}  // namespace
}  // namespace korvel::testing
