#pragma once

#include <QString>
#include <functional>
#include <string_view>

#include "rules/platform.h"
#include "rules/random_source.h"

class QTimer;
class QWidget;

namespace korvel {

// The game's window toolkit, clock and random source, done with Qt. One per
// program: the start window uses it for the credits box before the game window
// exists; the game window then attaches itself, its timer and its board.
class QtPlatform : public Platform {
public:
    // The title of a message box that is given none of its own.
    static constexpr const char* ApplicationTitle = "Korvel";

    explicit QtPlatform(RandomSource random = RandomSource());

    void messageBox(std::string_view text, int buttons,
                    std::optional<std::string_view> title) override;
    void setTimerInterval(std::int16_t milliseconds) override;
    void reseedRandom() override;
    double drawRandom() override;
    void takeFocus() override;
    void endProgram() override;

    // `flushBoard` schedules the repaint of whatever the game changed; it runs
    // before a message box opens, so the box shows over the current picture.
    void attachGameWindow(QWidget* window, QTimer* timer, std::function<void()> flushBoard);

    // True while one of our message boxes is open. The game window lets no
    // tick through then, so game-over notices never stack.
    [[nodiscard]] bool messageBoxOpen() const { return openBoxes_ > 0; }

    // What endProgram() does. The default flushes stdout and stderr and ends
    // the process with status 0 at once, from however deep a nested event loop:
    // no code after it runs, and the X server removes the windows.
    void setEndHook(std::function<void()> hook) { endHook_ = std::move(hook); }
    [[noreturn]] static void endProcess();

    // Message box texts join lines with LF CR; each break shows as one.
    [[nodiscard]] static QString displayText(std::string_view text);

private:
    RandomSource random_;
    QWidget* window_ = nullptr;
    QTimer* timer_ = nullptr;
    std::function<void()> flushBoard_;
    std::function<void()> endHook_ = &QtPlatform::endProcess;
    int openBoxes_ = 0;
};

}  // namespace korvel
