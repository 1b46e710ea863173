// Seeding and drawing of the random fill's source.
#include "ClockSeededRandom.h"

#include <chrono>

namespace tivla {

ClockSeededRandom::ClockSeededRandom() {
    reseedFromClock();
}

void ClockSeededRandom::reseedFromClock() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    reseed(static_cast<std::uint64_t>(ticks));
}

void ClockSeededRandom::reseed(std::uint64_t seed) {
    // seed_seq spreads every bit of the tick count over the whole generator state.
    std::seed_seq sequence{static_cast<std::uint32_t>(seed),
                           static_cast<std::uint32_t>(seed >> 32)};
    engine_.seed(sequence);
}

int ClockSeededRandom::below(int bound) {
    return std::uniform_int_distribution<int>(0, bound - 1)(engine_);
}

} // namespace tivla
