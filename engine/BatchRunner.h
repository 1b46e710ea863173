// The batch advance: many silent generations at once, exactly as the single-pass step would
// leave the board, its neighbour counts and its counters, jumping over whole periods once the
// board repeats.
#pragma once

#include "Board.h"
#include "StatisticsSink.h"

#include <cstdint>
#include <optional>

namespace tivla {

enum class BatchKernel {
    // The fastest one this processor runs.
    Automatic,
    // Portable 64-bit words.
    Scalar,
    // 256-bit registers of one, two or four lines.
    Avx2,
    // 512-bit registers of two, four or eight lines (AVX-512 F, VL, VBMI2, VPOPCNTDQ).
    Avx512,
};

struct BatchSettings {
    BatchKernel kernel = BatchKernel::Automatic;
    // Watch for the board returning to an earlier state and jump over the whole periods that
    // follow; off only to measure what the watching costs.
    bool detectCycles = true;
    // Work out the exact first generation of the cycle too (costs a second look at the run).
    bool findCycleStart = false;
};

// Asked between stretches of at most a few hundred generations, well under a millisecond each.
class BatchProgress {
public:
    virtual ~BatchProgress() = default;
    // `done` generations of this batch are behind and the board's Generation is `generation`;
    // false stops the batch right there, as if only `done` generations had been asked for.
    virtual bool carryOn(long long done, std::int32_t generation) = 0;
};

struct BatchCycle {
    // The least number of generations after which the board is the same again.
    long long period = 0;
    // Generations from the start of the batch to the first board of the cycle; -1 unless asked
    // for with findCycleStart.
    long long start = -1;
};

struct BatchOutcome {
    // Generations taken: as many as asked, unless the progress stopped the batch.
    long long done = 0;
    // Set when the board was seen to repeat within the batch.
    std::optional<BatchCycle> cycle;
};

// The non-template core behind runBatch. `sink` and `progress` may be null.
BatchOutcome runBatchGenerations(Board& board, long long steps, StatisticsSink* sink,
                                 BatchProgress* progress = nullptr,
                                 const BatchSettings& settings = {});

// Advances the board by `steps` silent generations, exactly as `steps` calls of
// stepGeneration(board, SilentPainter, statistics) would. `statistics` is what
// stepGeneration takes: a sink (or pointer to one), NoStatistics, or a callable that then sees
// every generation. A sink that takes repetitions hears of whole repeated periods at once
// instead of each of their generations. Nothing happens for steps <= 0.
template <typename Statistics>
BatchOutcome runBatch(Board& board, long long steps, Statistics&& statistics,
                      BatchProgress* progress = nullptr, const BatchSettings& settings = {}) {
    return withStatisticsSink(statistics, [&](StatisticsSink* sink) {
        return runBatchGenerations(board, steps, sink, progress, settings);
    });
}

} // namespace tivla
