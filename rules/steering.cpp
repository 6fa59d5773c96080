#include "rules/game.h"

namespace korvel {

void Game::Form_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
    // The refusal tests the stored heading, not the way the head last moved:
    // two presses within one tick can still turn the worm back on itself.
    if (KeyCode < KeyLeft || KeyCode > KeyDown) {
        return;
    }
    // The arrow keys 37 to 40 come in the order of the headings 1 to 4.
    const auto wanted = static_cast<std::int16_t>(KeyCode - KeyLeft + heading::Left);
    if (vars_.Direction != heading::opposite(wanted)) {
        vars_.Direction = wanted;
    }
}

}  // namespace korvel
