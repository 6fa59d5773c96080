#include "rules/random_source.h"

#include <chrono>
#include <utility>

namespace korvel {

std::int64_t RandomSource::systemClock() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

RandomSource::RandomSource(Clock clock) : clock_(std::move(clock)) {
    reseed();
}

void RandomSource::reseed() {
    // The food search re-seeds before every attempt, so the engine is one with
    // a small state that seeds quickly. For one clock reading, different
    // re-seed counts still give different seeds.
    ++reseeds_;
    const auto reading = static_cast<std::uint64_t>(clock_());
    std::seed_seq seq{
        static_cast<std::uint32_t>(reading), static_cast<std::uint32_t>(reading >> 32),
        static_cast<std::uint32_t>(reseeds_), static_cast<std::uint32_t>(reseeds_ >> 32)};
    engine_.seed(seq);
}

double RandomSource::draw() {
    // The engine's 48 bits as a fraction: uniform on a 2^-48 grid and never
    // 1.0, which generate_canonical does not promise.
    return static_cast<double>(engine_()) * 0x1.0p-48;
}

}  // namespace korvel
