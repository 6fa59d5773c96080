#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvel {

// Everything the game needs from the window toolkit, the clock and the random
// source. The Qt front end implements it for real; tests use a fake.
class Platform {
public:
    virtual ~Platform() = default;

    // Buttons value 0: an OK button only and no icon.
    static constexpr int OkOnly = 0;

    // Shows `text` modally and returns once the user has closed the box. With no
    // title the box shows the application title. Lines are joined by LF then CR.
    virtual void messageBox(std::string_view text, int buttons,
                            std::optional<std::string_view> title) = 0;
    // 0 stops the ticks; a positive interval makes them run every that many ms.
    virtual void setTimerInterval(std::int16_t milliseconds) = 0;
    // Makes the clock reading the new seed. Draws after it never repeat the
    // draws before it, even when the clock has not moved.
    virtual void reseedRandom() = 0;
    // A uniform value r with 0 <= r < 1.
    virtual double drawRandom() = 0;
    // Gives the keyboard focus back to the game window.
    virtual void takeFocus() = 0;
    // Ends the process at once: no further handler runs.
    virtual void endProgram() = 0;
};

}  // namespace korvel
