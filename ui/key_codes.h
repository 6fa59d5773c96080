#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

namespace korvel {

// The game's key handler speaks Windows virtual-key codes (37..40 for the
// arrows) and a VB-style shift mask; these translate Qt's key events into them.

// The virtual-key code of a Qt key, or none for a key that has no such code.
// Keypad digits (with Qt::KeypadModifier) get their own codes 96..105, as on
// Windows with Num Lock on; keypad arrows are the ordinary arrows.
[[nodiscard]] std::optional<std::int16_t> virtualKeyCode(int key, Qt::KeyboardModifiers modifiers);

// 1 Shift, 2 Ctrl, 4 Alt, added together.
[[nodiscard]] std::int16_t shiftMask(Qt::KeyboardModifiers modifiers);

}  // namespace korvel
