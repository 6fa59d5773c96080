#include "ui/start_window.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/game_window.h"
#include "ui/qt_platform.h"
#include "ui/x11_hints.h"

namespace korvel {

const QString frmMain::CreditsTitle = QStringLiteral("О программе");
const std::string frmMain::CreditsText =
    "Корвел — червяк на клетчатом поле\n\rСтрелки — поворот, F1 — новая игра";

frmMain::frmMain(QtPlatform& platform)
    // Kept below other windows, so a click on it never raises it over the game.
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint),
      platform_(platform) {
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
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->geometry());
    }
    // Painted by Qt, the backdrop would cost an image the size of the screen
    // (8 MB at 1920 x 1080) just to hold black.
    if (blackFromServer(*this)) {
        blackFromServer_ = true;
        setAttribute(Qt::WA_PaintOnScreen);
        setAttribute(Qt::WA_NoSystemBackground);
        setAutoFillBackground(false);
    }
    skipTaskbar(*this);
    showMaximized();
    activateWindow();
}

QPaintEngine* frmMain::paintEngine() const {
    return blackFromServer_ ? nullptr : QWidget::paintEngine();
}

void frmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Form_Activate waits in the game window's modal loop for the rest of the
    // run, so it must not run inside the activation itself.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        QMetaObject::invokeMethod(
            this, [this] { Form_Activate(); }, Qt::QueuedConnection);
    }
}

void frmMain::Form_Activate() {
    if (!game_) {
        game_ = std::make_unique<frmGame>(platform_);
    }
    // The game window is open for the rest of the run: it is shown once.
    if (!game_->isVisible()) {
        game_->showModal();
    }
}

}  // namespace korvel
