// The batch advance: many silent generations at once, exactly as the single-pass step would
// leave the board, its neighbour counts and its counters.
#pragma once

#include "Board.h"

#include <memory>
#include <type_traits>

namespace tivla {

// Called after each generation while the statistics panel is open; `context` is the caller's.
using BatchStatisticsHook = void (*)(void* context, const Board& board);

// The non-template core behind runBatch.
void runBatchGenerations(Board& board, long long steps, BatchStatisticsHook hook, void* context);

// Advances the board by `steps` silent generations, exactly as `steps` calls of
// stepGeneration(board, SilentPainter, statistics) would; statistics(const Board&) runs after
// each generation while board.StatsVisible, seeing that generation's Generation, Population,
// PopulationPercent and MaxPopulation (Cells need not be current inside the hook). Nothing
// happens for steps <= 0.
template <typename Statistics>
void runBatch(Board& board, long long steps, Statistics&& statistics) {
    using Hook = std::remove_reference_t<Statistics>;
    void* context = const_cast<void*>(static_cast<const void*>(std::addressof(statistics)));
    runBatchGenerations(
        board, steps,
        [](void* hookContext, const Board& current) {
            (*static_cast<Hook*>(hookContext))(current);
        },
        context);
}

} // namespace tivla
