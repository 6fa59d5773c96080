#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/board.h"
#include "model/game_vars.h"
#include "rules/platform.h"

namespace korvel {

// The game window's state and handlers, without the window. The front end
// delivers its events to the handlers below, one at a time, on one thread.
class Game {
public:
    static constexpr std::int16_t TickInterval = 90;  // ms per move
    // Windows virtual-key codes of the arrow keys.
    static constexpr std::int16_t KeyLeft = 37;
    static constexpr std::int16_t KeyUp = 38;
    static constexpr std::int16_t KeyRight = 39;
    static constexpr std::int16_t KeyDown = 40;

    explicit Game(Platform& platform) : platform_(platform) {}

    // The window has been created; its timer already runs at TickInterval.
    void Form_Load();
    void mnuNewGame_Click();
    void Timer1_Timer();
    // Arrow keys steer; the shift state is ignored, other keys change nothing.
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);
    // Another window of the program became active: take the focus back.
    void Form_Deactivate();
    void Form_Unload();
    void mnuExit_Click();

    [[nodiscard]] const Board& board() const { return board_; }
    [[nodiscard]] Board& board() { return board_; }
    [[nodiscard]] const GameVars& vars() const { return vars_; }
    [[nodiscard]] GameVars& vars() { return vars_; }

private:
    void SMove();
    void RndCell();
    void gameOver(std::string_view reason, std::optional<std::string_view> title);
    [[nodiscard]] bool anyCellEligibleForFood() const;
    void renumberStamps();

    Platform& platform_;
    Board board_;
    GameVars vars_;
};

}  // namespace korvel
