// The game window under input nobody plans for: every key Qt knows with every
// modifier, auto-repeat bursts, F1 hammered, New Game asked for while a
// game-over notice is open, the window closed under a notice. Nothing may
// crash, two notices may never be open at once, the game's invariants hold
// throughout, and a New Game is never undone by the notice it interrupted.
#include <gmock/gmock.h>

#include <QMenu>
#include <QMetaEnum>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "tests/invariants.h"
#include "tests/ui/ui_support.h"

namespace korvel::testing {
namespace {

int openBoxCount() {
    int open = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        open += qobject_cast<const QMessageBox*>(widget) != nullptr && widget->isVisible() ? 1 : 0;
    }
    return open;
}

// Sees every message box that opens: counts them, remembers how many were
// ever open at once, and after `answerAfterMs` runs `whileOpen` and presses OK.
class BoxWatch : public QObject {
public:
    explicit BoxWatch(int answerAfterMs, std::function<void(QMessageBox&)> whileOpen = {})
        : answerAfterMs_(answerAfterMs), whileOpen_(std::move(whileOpen)) {
        qApp->installEventFilter(this);
    }

    int opened = 0;
    int mostOpenAtOnce = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box != nullptr && event->type() == QEvent::Show) {
            ++opened;
            mostOpenAtOnce = std::max(mostOpenAtOnce, openBoxCount());
            QTimer::singleShot(answerAfterMs_, box, [this, box] {
                if (whileOpen_) {
                    whileOpen_(*box);
                }
                box->button(QMessageBox::Ok)->click();
            });
        }
        return false;
    }

private:
    int answerAfterMs_;
    std::function<void(QMessageBox&)> whileOpen_;
};

QList<Qt::KeyboardModifiers> allModifierCombinations() {
    const Qt::KeyboardModifier single[] = {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
                                           Qt::MetaModifier, Qt::KeypadModifier};
    QList<Qt::KeyboardModifiers> all;
    for (unsigned bits = 0; bits < 32; ++bits) {
        Qt::KeyboardModifiers held;
        for (unsigned i = 0; i < 5; ++i) {
            if ((bits & (1U << i)) != 0) {
                held |= single[i];
            }
        }
        all.append(held);
    }
    return all;
}

class BadInput : public GameWindowTest {
protected:
    [[nodiscard]] QWindow* handle() const { return window->windowHandle(); }
    // Offscreen, nobody gives the window the keyboard back when a notice
    // closes; a window manager would.
    void activate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    [[nodiscard]] QAction& newGameItem() const {
        return *window->findChild<QAction*>("mnuNewGame");
    }
    // A key that goes down and repeats, as the system sends a held key.
    void repeatPress(Qt::Key key, int repeats) {
        qt_handleKeyEvent(handle(), QEvent::KeyPress, key, Qt::NoModifier);
        for (int i = 0; i < repeats; ++i) {
            qt_handleKeyEvent(handle(), QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        }
        qt_handleKeyEvent(handle(), QEvent::KeyRelease, key, Qt::NoModifier);
    }
    [[nodiscard]] bool isFreshRunningGame() const {
        return timer().isActive() && timer().interval() == 90 && vars().HeadRow == 9 &&
               vars().HeadCol == 7 && vars().Score == 0 && vars().TailStamp == vars().MoveCount - 2;
    }
};

TEST_F(BadInput, EveryKeyWithEveryModifierLeavesOneNoticeAtMostAndAConsistentGame) {
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    ASSERT_GT(keys.keyCount(), 400);
    const QList<Qt::KeyboardModifiers> modifiers = allModifierCombinations();
    // Not QTest::keyClick: it knows the text of only some of the keys.
    const auto click = [](QWindow* target, int key, Qt::KeyboardModifiers held) {
        qt_handleKeyEvent(target, QEvent::KeyPress, key, held);
        qt_handleKeyEvent(target, QEvent::KeyRelease, key, held);
    };
    // Keys go on while a notice is open, to the blocked game window and to
    // the notice itself (but not Return, Escape or Space, which answer it).
    BoxWatch watch(10, [&](QMessageBox& box) {
        for (const int key : {Qt::Key_F1, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down,
                              Qt::Key_F4, Qt::Key_Tab, Qt::Key_Menu}) {
            for (const Qt::KeyboardModifiers held : modifiers) {
                click(handle(), key, held);
                click(box.windowHandle(), key, held);
            }
        }
    });
    show();
    // Modifiers outside, keys inside: each round sends a plain F1 as well, so
    // games that the storm steers into a wall start again.
    for (const Qt::KeyboardModifiers held : modifiers) {
        for (int i = 0; i < keys.keyCount(); ++i) {
            click(handle(), keys.value(i), held);
            if (i % 32 == 0) {
                QTest::qWait(2);  // lets ticks and notices come in between
            }
            ASSERT_EQ(checkInvariants(window->game()), "")
                << keys.key(i) << " with modifiers " << held.toInt();
        }
        // An open drop-down menu (Alt, then an arrow) keeps the keys for itself.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        activate();
    }
    EXPECT_LE(watch.mostOpenAtOnce, 1);
    EXPECT_GT(watch.opened, 0) << "the storm should have ended some games";

    // The window still answers the player.
    QTest::keyClick(handle(), Qt::Key_F1);
    EXPECT_TRUE(isFreshRunningGame());
    QTest::keyClick(handle(), Qt::Key_Left);
    EXPECT_EQ(vars().Direction, heading::Left);
}

TEST_F(BadInput, AutoRepeatBurstsSteerButNeverMoveTheWorm) {
    show();
    int ticks = 0;
    QObject::connect(&timer(), &QTimer::timeout, window.get(), [&] { ++ticks; });
    const std::int16_t movesBefore = vars().MoveCount;
    repeatPress(Qt::Key_Left, 300);
    EXPECT_EQ(vars().Direction, heading::Left);
    repeatPress(Qt::Key_Right, 300);  // straight back: refused, however often
    EXPECT_EQ(vars().Direction, heading::Left);
    repeatPress(Qt::Key_Up, 300);
    EXPECT_EQ(vars().Direction, heading::Up);
    QTest::qWait(100);
    // Only ticks move the worm, one cell each. (The walls are six moves away
    // to the left and eight up: no notice can open in this test.)
    EXPECT_EQ(vars().MoveCount - movesBefore, ticks);
    EXPECT_EQ(checkInvariants(window->game()), "");
}

TEST_F(BadInput, F1HammeredDuringPlayLeavesOneFreshRunningGame) {
    BoxWatch watch(10);
    show();
    ASSERT_TRUE(waitUntil([&] { return vars().MoveCount >= 3; }));
    for (int i = 0; i < 500; ++i) {
        QTest::keyClick(handle(), Qt::Key_F1);
    }
    repeatPress(Qt::Key_F1, 200);
    EXPECT_TRUE(isFreshRunningGame());
    EXPECT_EQ(checkInvariants(window->game()), "");
    EXPECT_EQ(watch.opened, 0);
}

// Records the game as the notice shows it, so the test can tell whether the
// board changed under the notice.
struct AtTheNotice {
    std::int16_t moves = -1;
    std::int16_t headRow = -1;
    bool answered = false;
};

TEST_F(BadInput, NewGameChosenWhileANoticeIsOpenStartsOnceTheNoticeIsClosed) {
    AtTheNotice seen;
    answerNextBox([&](QMessageBox&) {
        seen = {vars().MoveCount, vars().HeadRow, false};
        newGameItem().trigger();
        newGameItem().trigger();
        // The notice still shows the game it ends.
        EXPECT_EQ(vars().HeadRow, seen.headRow);
        EXPECT_EQ(openBoxCount(), 1);
        seen.answered = true;
    });
    show();  // heading up from row 9, the worm meets the top wall
    ASSERT_TRUE(waitUntil([&] { return seen.answered && openBox() == nullptr; }));
    ASSERT_EQ(seen.headRow, 1);
    EXPECT_TRUE(isFreshRunningGame())
        << "interval " << timer().interval() << ", active " << timer().isActive();
    EXPECT_EQ(checkInvariants(window->game()), "");
    ASSERT_TRUE(waitUntil([&] { return vars().MoveCount > seen.moves; }));  // it really plays
}

TEST_F(BadInput, F1PressedWhileANoticeIsOpenGoesToTheNoticeNotToTheGame) {
    AtTheNotice seen;
    answerNextBox([&](QMessageBox& box) {
        seen = {vars().MoveCount, vars().HeadRow, false};
        QTest::keyClick(handle(), Qt::Key_F1);  // the game window is blocked
        QTest::keyClick(box.windowHandle(), Qt::Key_F1);
        EXPECT_EQ(openBox(), &box);
        EXPECT_EQ(vars().HeadRow, seen.headRow);
        seen.answered = true;
    });
    show();
    ASSERT_TRUE(waitUntil([&] { return seen.answered && openBox() == nullptr; }));
    EXPECT_FALSE(timer().isActive());  // the game stays over
    EXPECT_EQ(vars().HeadRow, 1);
    activate();
    QTest::keyClick(handle(), Qt::Key_F1);  // now it reaches the game
    EXPECT_TRUE(isFreshRunningGame());
}

}  // namespace
}  // namespace korvel::testing
