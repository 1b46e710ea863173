// Finding where a packed board repeats: comparisons of packings, the least period of a board
// known to repeat, and the exact cycle of a run.
#pragma once

#include "BatchKernel.h"
#include "BitBoard.h"

#include <optional>

namespace tivla {

class CycleSearch {
public:
    explicit CycleSearch(BitGenerations generations) : generations_(generations) {}

    // The same board lines 0..N-1: what every later generation of the board depends on.
    static bool sameCells(const BitBoard& a, const BitBoard& b);
    // The same board lines and edge histories: everything a batch carries from one generation
    // to the next (the band's fixed markers and the counters are not in the packing).
    static bool sameState(const BitBoard& a, const BitBoard& b);

    // Runs `count` generations of `bits`, any number of them.
    void advance(BitBoard& bits, long long count) const;
    // The least period of a board that is the same again after `multiple` generations.
    long long leastPeriod(const BitBoard& inCycle, long long multiple) const;
    // How many generations from `start` the board first reaches a board it returns to every
    // `period` generations.
    long long cycleStart(const BitBoard& start, long long period) const;
    // The exact cycle the board enters from `start`, if it closes within `limit` generations
    // (cycle start plus period at most `limit`); looks up to four times as far.
    std::optional<BatchCycle> exactCycle(const BitBoard& start, long long limit) const;

private:
    BitGenerations generations_;
};

} // namespace tivla
