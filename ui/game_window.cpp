#include "ui/game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "ui/board_view.h"
#include "ui/key_codes.h"
#include "ui/qt_platform.h"
#include "ui/x11_hints.h"

namespace korvel {

const QString frmGame::Caption = QStringLiteral("Игра \"Корвел\"");

frmGame::frmGame(QtPlatform& platform)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      platform_(platform),
      game_(platform) {
    setObjectName(QStringLiteral("frmGame"));
    setWindowTitle(Caption);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    buildMenu();

    // The timer runs from the moment the window exists; its first tick comes
    // from the event loop, so never before Form_Load below has finished.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &frmGame::onTick);
    Timer1->start(Game::TickInterval);

    view_ = new BoardView(game_.board(), this);
    setCentralWidget(view_);
    // Fixed: the client area under the menu bar stays 577 x 242.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    platform_.attachGameWindow(this, Timer1, [this] { flushBoard(); });
    deliver([this] { game_.Form_Load(); });
}

frmGame::~frmGame() {
    platform_.attachGameWindow(nullptr, nullptr, {});
}

void frmGame::buildMenu() {
    menuBar()->setNativeMenuBar(false);
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("Файл"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));

    mnuNewGame = mnuFile->addAction(QStringLiteral("Новая Игра"));
    mnuNewGame->setObjectName(QStringLiteral("mnuNewGame"));
    mnuNewGame->setShortcut(Qt::Key_F1);
    // F1 must start a new game whatever widget of the window has the focus.
    mnuNewGame->setShortcutContext(Qt::WindowShortcut);
    addAction(mnuNewGame);
    connect(mnuNewGame, &QAction::triggered, this, &frmGame::onNewGame);

    QAction* mnu = mnuFile->addSeparator();
    mnu->setObjectName(QStringLiteral("mnu"));

    mnuExit = mnuFile->addAction(QStringLiteral("Выход"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, [this] { game_.mnuExit_Click(); });
}

template <typename Handler>
void frmGame::deliver(Handler handler) {
    handler();
    flushBoard();
    if (newGamePending_ && !platform_.messageBoxOpen()) {
        newGamePending_ = false;
        game_.mnuNewGame_Click();
        flushBoard();
    }
}

void frmGame::onNewGame() {
    // A game-over notice is answered inside the tick that opened it, and that
    // tick stops the timer once the notice is closed. A new game started under
    // the notice would be stopped straight away, so it waits for that tick to
    // return (see deliver).
    if (platform_.messageBoxOpen()) {
        newGamePending_ = true;
        return;
    }
    deliver([this] { game_.mnuNewGame_Click(); });
}

void frmGame::flushBoard() {
    view_->updateShapes(game_.board().takeChangedShapes());
}

void frmGame::onTick() {
    // While a notice is open the game waits inside it; a tick now would run a
    // second move, or a second notice, before the first one is answered.
    if (platform_.messageBoxOpen()) {
        return;
    }
    deliver([this] { game_.Timer1_Timer(); });
}

void frmGame::showModal(QWidget* over) {
    setWindowModality(Qt::ApplicationModal);
    adjustSize();
    const QScreen* screen = over != nullptr ? over->screen() : nullptr;
    if (screen == nullptr) {
        screen = screenUnderPointer();
    }
    if (screen != nullptr) {
        // The whole screen: the backdrop covers the panels too.
        centreWindow(*this, screen->geometry());
    }
    winId();
    offerNoResize(*this);
    showAsTransient(*this, over);
    // Some window managers (fluxbox) give a new window no focus while a
    // full-screen window has it, and the keyboard would stay with the backdrop.
    requestActivation(*this);
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
}

QScreen* screenUnderPointer() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

void centreWindow(QWidget& window, const QRect& area) {
    QRect client = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), area);
    // The frame is known only once the window manager has framed the window.
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    client.moveLeft(std::max(
        std::min(client.x(), area.right() - (frame.right() - inner.right()) - client.width() + 1),
        area.x() + inner.x() - frame.x()));
    client.moveTop(std::max(std::min(client.y(), area.bottom() - (frame.bottom() - inner.bottom()) -
                                                     client.height() + 1),
                            area.y() + inner.y() - frame.y()));
    window.setGeometry(client);
}

void frmGame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Some window managers resize a window on request whatever its size hints
    // say; the board has one size only.
    if (minimumSize() == maximumSize() && event->size() != minimumSize()) {
        QMetaObject::invokeMethod(this, &frmGame::restoreShape, Qt::QueuedConnection);
    }
}

void frmGame::restoreShape() {
    setWindowState(windowState() & ~(Qt::WindowFullScreen | Qt::WindowMaximized));
    resize(minimumSize());
    if (const QScreen* on = screen()) {
        // A notice went along with the window.
        centreWithNotice(on->geometry());
    }
}

void frmGame::centreWithNotice(const QRect& area) {
    centreWindow(*this, area);
    for (QDialog* notice : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        if (notice->isVisible()) {
            centreWindow(*notice, area);
        }
    }
}

void frmGame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Every key press of the window passes its native window first, before
    // the menu bar or a focused child can take it.
    if (windowHandle() != keyWindow_) {
        if (keyWindow_) {
            keyWindow_->removeEventFilter(this);
        }
        keyWindow_ = windowHandle();
        keyWindow_->installEventFilter(this);
    }
}

void frmGame::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    // Only the program's own hide() ends the modal wait. A window manager that
    // minimises the window hides it too (a spontaneous hide), and the window
    // comes straight back (see changeEvent).
    if (modalLoop_ != nullptr && !event->spontaneous()) {
        modalLoop_->quit();
    }
}

bool frmGame::eventFilter(QObject* watched, QEvent* event) {
    // An open drop-down menu takes the keys for itself.
    if (watched == keyWindow_ && event->type() == QEvent::KeyPress &&
        QApplication::activePopupWidget() == nullptr) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const auto code = virtualKeyCode(key->key(), key->modifiers())) {
            const std::int16_t shift = shiftMask(key->modifiers());
            deliver([&] { game_.Form_KeyDown(*code, shift); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmGame::closeEvent(QCloseEvent* event) {
    // Form_Unload ends the program; it never cancels the close.
    game_.Form_Unload();
    event->accept();
}

void frmGame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized)) != 0) {
        // A window manager that grants full screen all the same (icewm) keeps
        // the size, but moves the title bar off screen. It resizes the window
        // on the way, and may take the state back before Qt sees it.
        QMetaObject::invokeMethod(this, &frmGame::restoreShape, Qt::QueuedConnection);
        return;
    }
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        const auto comeBack = [this] { platform_.takeFocus(); };
        QMetaObject::invokeMethod(this, comeBack, Qt::QueuedConnection);
        return;
    }
    if (event->type() != QEvent::ActivationChange || isActiveWindow()) {
        return;
    }
    // Only another window of the program counts, not another application, and
    // not a message box that the game itself has opened.
    const QWidget* now = QApplication::activeWindow();
    if (now != nullptr && now != this && now->windowModality() == Qt::NonModal) {
        const auto deactivate = [this] { game_.Form_Deactivate(); };
        QMetaObject::invokeMethod(this, deactivate, Qt::QueuedConnection);
    }
}

}  // namespace korvel
