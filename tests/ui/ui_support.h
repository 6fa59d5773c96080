#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/board_view.h"
#include "ui/game_window.h"
#include "ui/qt_platform.h"

namespace korvel::testing {

// Processes events until `done` holds or `ms` have passed; returns `done()`.
inline bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QTest::qWait(5);
    }
    return done();
}

// Runs `action` once `ready` holds, from whichever event loop is running then:
// the way to act inside a modal box or the game window's modal loop.
inline void once(std::function<bool()> ready, std::function<void()> action) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, ready, action] {
        if (ready()) {
            poll->deleteLater();
            poll->stop();
            action();
        }
    });
    poll->start(5);
}

inline QMessageBox* openBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box != nullptr && box->isVisible() ? box : nullptr;
}

// When the next message box is open: hands it to `inspect`, then presses OK.
inline void answerNextBox(std::function<void(QMessageBox&)> inspect = {}) {
    once([] { return openBox() != nullptr; },
         [inspect] {
             QMessageBox* box = openBox();
             if (inspect) {
                 inspect(*box);
             }
             box->button(QMessageBox::Ok)->click();
         });
}

// A game window, not yet shown, whose food comes from a fixed clock, and a
// platform whose end leaves the test process running.
class GameWindowTest : public ::testing::Test {
protected:
    GameWindowTest() {
        platform.setEndHook([] {});
    }

    void show() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    [[nodiscard]] QTimer& timer() const { return *window->findChild<QTimer*>("Timer1"); }
    [[nodiscard]] GameVars& vars() const { return window->game().vars(); }
    void key(Qt::Key key, Qt::KeyboardModifiers held = {}) {
        QTest::keyClick(window->windowHandle(), key, held);
    }
    // What the window has really painted: its backing store, not a fresh rendering.
    [[nodiscard]] QColor shownCentre(int row, int col) const {
        const QPoint board = window->boardView()->mapTo(window.get(), QPoint(0, 0));
        return window->screen()
            ->grabWindow(window->winId())
            .toImage()
            .pixelColor(board + QPoint((col - 1) * 24 + 12, (row - 1) * 24 + 12));
    }

    QtPlatform platform{RandomSource([] { return std::int64_t{20240601}; })};
    std::unique_ptr<frmGame> window = std::make_unique<frmGame>(platform);
};

}  // namespace korvel::testing
