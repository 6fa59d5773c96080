#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace korvel {

// Game arithmetic is signed 16-bit and must never wrap around: a result out of
// range is a bug, reported loudly instead of corrupting the board.
[[nodiscard]] inline std::int16_t checked16(int value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw std::overflow_error("16-bit game arithmetic overflowed");
    }
    return static_cast<std::int16_t>(value);
}

inline void add16(std::int16_t& variable, int delta) {
    variable = checked16(variable + delta);
}

}  // namespace korvel
