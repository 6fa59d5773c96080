#pragma once

#include <cstdint>
#include <functional>
#include <random>

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
    // Knuth's 64-bit LCG: seeding it is a single assignment, so a re-seed
    // before every food attempt costs next to nothing.
    std::linear_congruential_engine<std::uint64_t, 6364136223846793005U, 1442695040888963407U, 0>
        engine_;
};

}  // namespace korvel
