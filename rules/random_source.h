#pragma once

#include <cstdint>
#include <functional>

namespace korvel {

// The production random source: re-seeded from a clock, drawing uniform values
// in [0, 1). Each re-seed also mixes in how many re-seeds came before, so two
// re-seeds within one clock reading still give different sequences; otherwise
// the food search would draw the same cell again until the clock moved on.
class RandomSource {
public:
    using Clock = std::function<std::int64_t()>;

    // Nanoseconds of the system clock.
    static std::int64_t systemClock();

    explicit RandomSource(Clock clock = systemClock);

    void reseed();
    [[nodiscard]] double draw();

private:
    Clock clock_;
    std::uint64_t reseeds_ = 0;
    std::uint64_t state_ = 0;
};

}  // namespace korvel
