// The batch advance's core: the bit-line kernels between one packing and one unpacking, with
// the counters and the statistics hook kept as the single-pass step keeps them.
#include "BatchRunner.h"

#include "BatchKernel.h"
#include "CpuFeatures.h"
#include "GenerationStep.h"

#include <algorithm>

namespace tivla {
namespace {

// Generations per kernel call while nobody watches the statistics.
constexpr int kChunkGenerations = 256;

// The fast path assumes what every step leaves behind: no counts in rows and columns
// -2..N-1. Anything else (a board that grew past old counts) is left to the single-pass step.
bool countsAroundBoardClear(const Board& board) {
    const int n = board.BoardSize;
    for (int r = -2; r < n; ++r) {
        const std::int32_t* row = board.NeighbourCounts[r];
        for (int c = -2; c < n; ++c) {
            if (row[c] != 0) {
                return false;
            }
        }
    }
    return true;
}

BitGenerations generationsFor(BatchKernel kernel) {
    switch (resolveBatchKernel(kernel)) {
    case BatchKernel::Avx512:
        return avx512Generations;
    case BatchKernel::Avx2:
        return avx2Generations;
    default:
        return detectCpuFeatures().popcnt ? scalarPopcntGenerations : scalarGenerations;
    }
}

std::int32_t nextGeneration(std::int32_t generation) {
    // Wraps like the original 32-bit counter, as Board::finishStepCounters does.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(generation) + 1u);
}

} // namespace

void runBatchGenerationsWith(BatchKernel kernel, Board& board, long long steps,
                             BatchStatisticsHook hook, void* context) {
    if (steps <= 0) {
        return;
    }
    auto statistics = [hook, context](const Board& current) { hook(context, current); };
    const int n = board.BoardSize;
    if (n < kMinBoardSize || n > kMaxBoardSize) {
        runSilentSteps(board, steps, statistics);
        return;
    }
    if (!countsAroundBoardClear(board)) {
        SilentPainter silent;
        stepGeneration(board, silent, statistics);
        if (--steps == 0) {
            return;
        }
    }

    const BitGenerations generations = generationsFor(kernel);
    BitBoard bits;
    bits.load(board);
    std::int32_t populations[kChunkGenerations];
    std::int32_t boardPopulation = bits.boardPopulation;
    std::int32_t population = board.Population;
    std::int32_t generation = board.Generation;
    std::int32_t maxPopulation = board.MaxPopulation;
    long long done = 0;
    auto finish = [&] {
        bits.store(board);
        bits.settleBand(board, done);
        board.Population = population;
        board.Generation = generation;
        board.MaxPopulation = maxPopulation;
        board.PopulationPercent = populationPercent(population, n);
    };
    try {
        while (done < steps) {
            // One generation at a time while the hook runs, so that a hook that throws leaves
            // the board exactly at its generation.
            const int count =
                board.StatsVisible
                    ? 1
                    : static_cast<int>(std::min<long long>(kChunkGenerations, steps - done));
            generations(bits, count, populations);
            for (int i = 0; i < count; ++i) {
                population = boardPopulation + bits.fixedPopulation;
                boardPopulation = populations[i];
                generation = nextGeneration(generation);
                maxPopulation = std::max(maxPopulation, population);
                ++done;
                if (board.StatsVisible) {
                    board.Population = population;
                    board.Generation = generation;
                    board.MaxPopulation = maxPopulation;
                    board.PopulationPercent = populationPercent(population, n);
                    hook(context, board);
                }
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void runBatchGenerations(Board& board, long long steps, BatchStatisticsHook hook, void* context) {
    runBatchGenerationsWith(BatchKernel::Automatic, board, steps, hook, context);
}

} // namespace tivla
