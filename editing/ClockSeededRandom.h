// The uniform pseudo-random source of the random fill, reseeded from the clock on every press.
#pragma once

#include <cstdint>
#include <random>

namespace tivla {

class ClockSeededRandom {
public:
    ClockSeededRandom();

    // From the monotonic high-resolution clock, so two presses never share a sequence.
    void reseedFromClock();
    // A fixed seed gives a fixed sequence of places.
    void reseed(std::uint64_t seed);

    // Uniform in 0 .. bound - 1; bound must be at least 1.
    int below(int bound);

private:
    std::mt19937 engine_;
};

} // namespace tivla
