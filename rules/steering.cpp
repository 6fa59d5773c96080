#include "rules/game.h"

namespace korvel {

void Game::Form_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
    // The refusal tests the stored heading, not the way the head last moved:
    // two presses within one tick can still turn the worm back on itself.
    switch (KeyCode) {
        case KeyLeft:
            if (vars_.Direction != heading::Right) {
                vars_.Direction = heading::Left;
            }
            break;
        case KeyUp:
            if (vars_.Direction != heading::Down) {
                vars_.Direction = heading::Up;
            }
            break;
        case KeyRight:
            if (vars_.Direction != heading::Left) {
                vars_.Direction = heading::Right;
            }
            break;
        case KeyDown:
            if (vars_.Direction != heading::Up) {
                vars_.Direction = heading::Down;
            }
            break;
        default:
            break;
    }
}

}  // namespace korvel
