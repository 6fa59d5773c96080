#pragma once

#include <cstdint>

namespace korvel {

// Colours are 24-bit values with red in the low byte: 0x00BBGGRR.
using Color = std::int32_t;

inline constexpr Color White = 0xFFFFFF;      // empty cell, fill and border
inline constexpr Color Silver = 0xC0C0C0;     // fill of the head and of the body
inline constexpr Color Red = 0x0000FF;        // fill of food, border of the head
inline constexpr Color NearBlack = 0x000001;  // border of a body segment

}  // namespace korvel
