#include "ui/qt_platform.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "ui/x11_hints.h"

namespace korvel {

QtPlatform::QtPlatform(RandomSource random) : random_(std::move(random)) {}

QString QtPlatform::displayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtPlatform::messageBox(std::string_view text, int /*buttons*/,
                            std::optional<std::string_view> title) {
    // The game asks only for OK-only boxes without an icon (buttons value 0).
    const QString caption =
        title && !title->empty()
            ? QString::fromUtf8(title->data(), static_cast<qsizetype>(title->size()))
            : QString::fromLatin1(ApplicationTitle);
    if (flushBoard_) {
        flushBoard_();
    }
    QMessageBox box(QMessageBox::NoIcon, caption, displayText(text), QMessageBox::Ok, window_);
    box.setTextFormat(Qt::PlainText);
    if (window_ != nullptr) {
        // As soon as exec() has shown it.
        QTimer::singleShot(0, &box, [&box, this] { shareOwner(box, *window_); });
    }
    ++openBoxes_;
    box.exec();
    --openBoxes_;
}

void QtPlatform::setTimerInterval(std::int16_t milliseconds) {
    if (timer_ == nullptr) {
        return;
    }
    if (milliseconds <= 0) {
        timer_->stop();
    } else {
        timer_->start(milliseconds);
    }
}

void QtPlatform::reseedRandom() {
    random_.reseed();
}

double QtPlatform::drawRandom() {
    return random_.draw();
}

void QtPlatform::takeFocus() {
    if (window_ == nullptr) {
        return;
    }
    // Window managers may minimise a window that asked for no minimise button
    // (openbox draws one anyway, and any window can be minimised by a
    // shortcut). The game window never stays minimised: the player would be
    // left with a black screen and a game going on unseen.
    const bool minimised = window_->isMinimized();
    if (minimised) {
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    }
    window_->raise();
    // A message box of the game keeps the keyboard until it is closed.
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* target = modal != nullptr && modal != window_ ? modal : window_;
    target->raise();
    target->activateWindow();
    // Qt's own request is held back while the window is not on screen (some
    // window managers show the desktop by hiding every window without
    // iconifying it), and refused by some window managers (fluxbox) while the
    // full-screen backdrop has the focus.
    if (!minimised) {
        requestActivation(*target);
    }
}

void QtPlatform::endProgram() {
    endHook_();
}

void QtPlatform::endProcess() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(0);
}

void QtPlatform::attachGameWindow(QWidget* window, QTimer* timer,
                                  std::function<void()> flushBoard) {
    window_ = window;
    timer_ = timer;
    flushBoard_ = std::move(flushBoard);
}

}  // namespace korvel
