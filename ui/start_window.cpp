#include "ui/start_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "ui/game_window.h"
#include "ui/qt_platform.h"
#include "ui/x11_hints.h"

namespace korvel {

const QString frmMain::CreditsTitle = QStringLiteral("О программе");
const std::string frmMain::CreditsText =
    "Корвел — червяк на клетчатом поле\n\rСтрелки — поворот, F1 — новая игра";

frmMain::frmMain(QtPlatform& platform)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), platform_(platform) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Form1"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
    platform_.messageBox(CreditsText, QtPlatform::OkOnly, CreditsTitle.toStdString());
}

void frmMain::showBackdrop() {
    // The player looks where the pointer is; the credits box showed there too.
    screen_ = screenUnderPointer();
    if (screen_ != nullptr) {
        setGeometry(screen_->geometry());
    }
    fitTimer_.setSingleShot(true);
    fitTimer_.setInterval(ScreenSettleMs);
    connect(&fitTimer_, &QTimer::timeout, this, &frmMain::fitToScreen);
    connect(qApp, &QGuiApplication::screenAdded, this, &frmMain::screensChanged);
    connect(qApp, &QGuiApplication::screenRemoved, this, &frmMain::screensChanged);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &frmMain::screensChanged);
    screensChanged();
    // Painted by Qt, the backdrop would cost an image the size of the screen
    // (8 MB at 1920 x 1080) just to hold black.
    if (blackFromServer(*this)) {
        blackFromServer_ = true;
        setAttribute(Qt::WA_PaintOnScreen);
        setAttribute(Qt::WA_NoSystemBackground);
        setAutoFillBackground(false);
    }
    skipTaskbar(*this);
    // "Show desktop" hides every window. Some window managers hide them
    // without iconifying them, which would leave the game playing unseen;
    // asked to activate the game window, they show it again and iconify the
    // rest, the backdrop among them. Some iconify them at once, but then take
    // a request to map the backdrop again only once they have left that mode.
    watchShowingDesktop(*this, [this] {
        QMetaObject::invokeMethod(this, &frmMain::restoreBackdrop, Qt::QueuedConnection);
    });
    // A click on the backdrop gives it the focus, which Qt hands straight on
    // to the game window or its notice. Some window managers (icewm) then
    // raise only the notice, and the backdrop stays over the game window.
    watchFocus(*this, [this] {
        if (game_) {
            QMetaObject::invokeMethod(
                this, [this] { platform_.takeFocus(); }, Qt::QueuedConnection);
        }
    });
    winId();
    windowHandle()->installEventFilter(this);
    // Full-screen, not maximised: a maximised window leaves the panels on
    // screen. The game window, a transient (see showAsTransient), stays
    // above it.
    showFullScreen();
    activateWindow();
}

void frmMain::screensChanged() {
    for (QScreen* screen : QGuiApplication::screens()) {
        connect(screen, &QScreen::geometryChanged, this, &frmMain::screensChanged,
                Qt::UniqueConnection);
    }
    fitTimer_.start();
}

void frmMain::fitToScreen() {
    if (screen_ == nullptr || !QGuiApplication::screens().contains(screen_)) {
        screen_ = screenUnderPointer();
    }
    if (screen_ == nullptr) {
        return;
    }
    const QRect area = screen_->geometry();
    if (geometry() != area) {
        setGeometry(area);
    }
    if (game_) {
        game_->centreWithNotice(area);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // The game window opens from the backdrop's activation, but a window
    // manager's focus policy may never activate a new window. Once the
    // backdrop is on screen, start-up waits a moment for that, and no longer.
    if (watched == windowHandle() && event->type() == QEvent::Expose && !formActivateQueued_ &&
        windowHandle()->isExposed()) {
        QTimer::singleShot(ActivationGraceMs, this, [this] {
            if (!formActivateQueued_) {
                activated();
            }
        });
    }
    return QWidget::eventFilter(watched, event);
}

QPaintEngine* frmMain::paintEngine() const {
    return blackFromServer_ ? nullptr : QWidget::paintEngine();
}

void frmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        // "Show desktop" iconifies every window, the backdrop with the rest.
        // The game window comes straight back by itself, and would then stand
        // over the bare desktop.
        QMetaObject::invokeMethod(this, &frmMain::restoreBackdrop, Qt::QueuedConnection);
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        activated();
    }
}

void frmMain::restoreBackdrop() {
    // Until the window manager reports it back, the backdrop stays minimised
    // for Qt, and the next attempt can tell that it is still needed.
    if (isMinimized() && !deiconify(*this)) {
        setWindowState(Qt::WindowFullScreen);
    }
    // The game window, and its notice if one is open, come back on top.
    if (game_) {
        platform_.takeFocus();
    }
}

void frmMain::activated() {
    // Form_Activate waits in the game window's modal loop for the rest of the
    // run, so it must not run inside the activation itself; and it runs once.
    if (!formActivateQueued_) {
        formActivateQueued_ = true;
        QMetaObject::invokeMethod(this, &frmMain::Form_Activate, Qt::QueuedConnection);
        return;
    }
    // The backdrop can only become active again when the player has clicked
    // it, over other programs' windows or a minimised game: the game window
    // comes back on top of it, with the keyboard.
    if (game_) {
        platform_.takeFocus();
    }
}

void frmMain::Form_Activate() {
    game_ = std::make_unique<frmGame>(platform_);
    game_->showModal(this);
}

}  // namespace korvel
