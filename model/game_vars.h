#pragma once

#include <cstdint>

namespace korvel {

// The ten variables of the game window, shared by all of its handlers. All
// start at 0 when the window is created, before its load handler runs.
struct GameVars {
    std::int16_t Direction = 0;  // 1 left, 2 up, 3 right, 4 down
    std::int16_t HeadRow = 0;
    std::int16_t HeadCol = 0;
    std::int16_t PrevRow = 0;  // the neck: where the head was before the last move
    std::int16_t PrevCol = 0;
    std::int16_t MoveCount = 0;  // moves since load, over all games; the newest stamp
    std::int16_t TailStamp = 0;  // the stamp the last tail erase looked for
    std::int16_t FoodRow = 0;
    std::int16_t FoodCol = 0;
    std::int16_t Score = 0;
};

// Headings stored in Direction; 1 and 3, 2 and 4 are opposites.
namespace heading {
inline constexpr std::int16_t Left = 1;
inline constexpr std::int16_t Up = 2;
inline constexpr std::int16_t Right = 3;
inline constexpr std::int16_t Down = 4;

[[nodiscard]] constexpr std::int16_t opposite(std::int16_t h) {
    return static_cast<std::int16_t>((h + 1) % 4 + 1);
}
}  // namespace heading

}  // namespace korvel
