#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
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
    poll->setObjectName(QStringLiteral("pending test action"));
    QObject::connect(poll, &QTimer::timeout, [poll, ready, action] {
        if (ready()) {
            poll->stop();
            poll->deleteLater();
            action();
        }
    });
    poll->start(5);
}

// Drops actions still waiting when a test ends, so none fires in a later test.
inline void cancelPendingActions() {
    qDeleteAll(qApp->findChildren<QTimer*>(QStringLiteral("pending test action"),
                                           Qt::FindDirectChildrenOnly));
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

// An outline pixel is blended with what lies on either side of it; it still
// tells red, near-black, silver and white apart.
inline constexpr int EdgeTolerance = 100;

inline bool near(QColor shown, QColor expected, int tolerance = 8) {
    return std::abs(shown.red() - expected.red()) <= tolerance &&
           std::abs(shown.green() - expected.green()) <= tolerance &&
           std::abs(shown.blue() - expected.blue()) <= tolerance;
}

// A game window, not yet shown, with food placed from a fixed clock and an end
// hook that only counts.
class GameWindowTest : public ::testing::Test {
protected:
    GameWindowTest() {
        platform.setEndHook([this] { ++programEnds; });
    }
    ~GameWindowTest() override { cancelPendingActions(); }

    void show() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    [[nodiscard]] QTimer& timer() const { return *window->findChild<QTimer*>("Timer1"); }
    [[nodiscard]] GameVars& vars() const { return window->game().vars(); }
    [[nodiscard]] QWindow* nativeWindow() const { return window->windowHandle(); }

    // What the window has really painted so far: its backing store, not a
    // fresh rendering.
    [[nodiscard]] QImage shownPixels() const {
        return window->screen()->grabWindow(window->winId()).toImage();
    }
    // The pixel of `shownPixels()` at (x, y) of cell (row, col)'s square.
    [[nodiscard]] QColor cellPixel(const QImage& shot, int row, int col, int x, int y) const {
        const QPoint origin = window->boardView()->mapTo(window.get(), QPoint(0, 0));
        return shot.pixelColor(origin + QPoint((col - 1) * 24 + x, (row - 1) * 24 + y));
    }
    // Runs ticks until the worm, heading up from row 9, meets the top wall and
    // the notice opens; `inspect` sees the notice before it is answered.
    void playIntoTheWall(std::function<void(QMessageBox&)> inspect) {
        bool answered = false;
        answerNextBox([&](QMessageBox& box) {
            inspect(box);
            answered = true;
        });
        show();
        ASSERT_TRUE(waitUntil([&] { return answered; }));
    }

    QtPlatform platform{RandomSource([] { return std::int64_t{20240601}; })};
    std::unique_ptr<frmGame> window = std::make_unique<frmGame>(platform);
    int programEnds = 0;
};

}  // namespace korvel::testing
