// The Qt platform as the game relies on it: what its message boxes show, who
// keeps the keyboard, and that ending the program ends it at once, even from
// inside a modal loop.
#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>

#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons;
};

ShownBox showBox(QtPlatform& platform, std::string_view text,
                 std::optional<std::string_view> title) {
    ShownBox shown;
    answerNextBox([&](QMessageBox& box) {
        shown = {box.windowTitle(), box.text(), box.icon(), box.standardButtons()};
    });
    platform.messageBox(text, Platform::OkOnly, title);
    cancelPendingActions();
    return shown;
}

TEST(QtPlatformBox, IsOkOnlyWithoutIconAndShowsLfCrAsOneLineBreak) {
    QtPlatform platform;
    const ShownBox box = showBox(platform, "Врезались в себя\n\rYou have 2 Points", "Своё");
    EXPECT_EQ(box.text, QString::fromUtf8("Врезались в себя\nYou have 2 Points"));
    EXPECT_EQ(box.title, QString::fromUtf8("Своё"));
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.buttons, QMessageBox::Ok);
}

TEST(QtPlatformBox, ShowsTheApplicationTitleWhenGivenNoneOrAnEmptyOne) {
    QtPlatform platform;
    EXPECT_EQ(showBox(platform, "x", std::nullopt).title, "Korvel");
    EXPECT_EQ(showBox(platform, "x", "").title, "Korvel");
}

TEST(QtPlatformBox, SchedulesTheBoardRepaintBeforeTheBoxOpens) {
    QtPlatform platform;
    QWidget window;
    QTimer timer;
    bool flushed = false;
    platform.attachGameWindow(&window, &timer, [&] { flushed = true; });
    bool flushedWhenOpen = false;
    answerNextBox([&](QMessageBox&) { flushedWhenOpen = flushed; });
    platform.messageBox("x", Platform::OkOnly, std::nullopt);
    EXPECT_TRUE(flushedWhenOpen);
}

TEST_F(GameWindowTest, AnotherWindowOfTheProgramBecomingActiveGivesTheFocusBack) {
    timer().stop();
    show();
    QWidget other;
    other.show();
    QList<QWindow*> focus;
    QObject scope;  // ends the connection with the test
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &scope,
                     [&](QWindow* now) { focus.append(now); });
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return focus.size() >= 2; }));
    EXPECT_EQ(focus[0], other.windowHandle());
    EXPECT_EQ(focus[1], window->windowHandle());
    EXPECT_TRUE(window->isActiveWindow());
}

TEST_F(GameWindowTest, TakingTheFocusBackNeverTakesItFromAnOpenBox) {
    timer().stop();
    show();
    QWidget* stillActive = nullptr;
    answerNextBox([&](QMessageBox& box) {
        window->game().Form_Deactivate();
        QTest::qWait(50);
        stillActive = QApplication::activeWindow() == &box ? &box : nullptr;
    });
    platform.messageBox("x", Platform::OkOnly, std::nullopt);
    EXPECT_NE(stillActive, nullptr);
}

// The real end: the process exits with status 0 at once, and nothing after
// the nested loop it was called from runs.
// Plays until the first game-over notice, runs `end` while it is open, and
// expects the process to exit with status 0 from there: nothing after it runs.
void expectEndInsideNotice(const std::function<void(frmGame&)>& end) {
    EXPECT_EXIT(
        {
            QtPlatform platform;
            frmGame window(platform);
            answerNextBox([&](QMessageBox&) {
                end(window);
                std::fputs("still running inside the notice\n", stderr);
            });
            window.show();
            waitUntil([] { return false; }, 10000);
            std::fputs("still running after the notice\n", stderr);
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), ::testing::Not(::testing::HasSubstr("still running")));
}

TEST(QtPlatformEnd, ExitChosenWhileANoticeIsOpenEndsTheProcessWithStatus0) {
    expectEndInsideNotice(
        [](frmGame& window) { window.findChild<QAction*>("mnuExit")->trigger(); });
}

TEST(QtPlatformEnd, ClosingTheWindowWhileANoticeIsOpenEndsTheProcessWithStatus0) {
    expectEndInsideNotice([](frmGame& window) { window.windowHandle()->close(); });
}

TEST(QtPlatformEnd, ClosingTheModalGameWindowEndsTheProcessWithStatus0) {
    EXPECT_EXIT(
        {
            QtPlatform platform;
            frmGame window(platform);
            once([&] { return window.isVisible(); }, [&] { window.close(); });
            window.showModal();
            std::fputs("still running after the modal loop\n", stderr);
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), ::testing::Not(::testing::HasSubstr("still running")));
}

}  // namespace
}  // namespace korvel::testing
