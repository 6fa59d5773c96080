#pragma once

#include <QMainWindow>
#include <QPointer>

#include "rules/game.h"

class QAction;
class QEventLoop;
class QScreen;
class QTimer;
class QWindow;

namespace korvel {

// Centres the client area of the top-level `window` on `area`, and keeps the
// window, frame and all, wholly inside `area` where it fits.
void centreWindow(QWidget& window, const QRect& area);

// The screen under the pointer, where the player looks, or else the primary one.
QScreen* screenUnderPointer();

class BoardView;
class QtPlatform;

// The game window: a fixed window with the menu "Файл" and the board, owner of
// the tick timer Timer1. It delivers its events to the game's handlers one at
// a time and repaints the cells that each handler changed.
class frmGame : public QMainWindow {
    Q_OBJECT
public:
    // The caption: "Игра", a space and "Корвел" in straight double quotes.
    static const QString Caption;

    // Builds the menu, the running timer and the board, then runs Form_Load;
    // the window is not shown yet.
    explicit frmGame(QtPlatform& platform);
    ~frmGame() override;

    // Shows the window application-modal, centred on the screen of `over` (the
    // screen under the pointer if none) and, on X11, above the program's other
    // windows (see showAsTransient); returns only when it is hidden again.
    void showModal(QWidget* over = nullptr);

    // Centres the window, and its notice if one is open, on `area`.
    void centreWithNotice(const QRect& area);

    [[nodiscard]] Game& game() { return game_; }
    [[nodiscard]] const Game& game() const { return game_; }
    [[nodiscard]] BoardView* boardView() const { return view_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenu();
    // Runs one handler of the game, then schedules the repaint of what changed,
    // then a New Game that was chosen while a notice was open.
    template <typename Handler>
    void deliver(Handler handler);
    void flushBoard();
    // Back to the board's one size, in no enlarged state, centred with any
    // notice on the window's monitor.
    void restoreShape();
    void onTick();
    void onNewGame();

    QtPlatform& platform_;
    Game game_;
    QTimer* Timer1 = nullptr;
    BoardView* view_ = nullptr;
    QAction* mnuNewGame = nullptr;
    QAction* mnuExit = nullptr;
    QPointer<QWindow> keyWindow_;  // the native window whose key presses we watch
    QEventLoop* modalLoop_ = nullptr;
    bool newGamePending_ = false;
};

}  // namespace korvel
