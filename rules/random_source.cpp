#include "rules/random_source.h"

#include <chrono>
#include <utility>

namespace korvel {
namespace {

// The SplitMix64 output function: a bijection on 64 bits in which every input
// bit reaches every output bit.
std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9U;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebU;
    return z ^ (z >> 31);
}

}  // namespace

std::int64_t RandomSource::systemClock() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

RandomSource::RandomSource(Clock clock) : clock_(std::move(clock)) {
    reseed();
}

void RandomSource::reseed() {
    // The food search re-seeds before every attempt, a few hundred times in one
    // tick on a nearly full board, so a re-seed costs no more than the clock
    // reading and a few multiplications. For one clock reading, different
    // re-seed counts still give different seeds: both mixes are bijections.
    ++reseeds_;
    const auto reading = static_cast<std::uint64_t>(clock_());
    engine_.seed(mix64(reading ^ mix64(reseeds_)));
}

double RandomSource::draw() {
    // The LCG's low bits are weak, so its output goes through the mix. The top
    // 53 bits as a fraction are exactly uniform on a 2^-53 grid and never 1.0,
    // which generate_canonical does not promise.
    return static_cast<double>(mix64(engine_()) >> 11) * 0x1.0p-53;
}

}  // namespace korvel
