// The batch advance's core: the bit-line kernels between one packing and one unpacking, with
// the counters and the statistics hook kept as the single-pass step keeps them.
#include "BatchRunner.h"

#include "BatchKernel.h"
#include "CpuFeatures.h"
#include "GenerationStep.h"

#include <algorithm>
#include <cstring>

namespace tivla {
namespace {

// Generations per kernel call.
constexpr int kChunkGenerations = 256;

// The fast path assumes what every step leaves behind: no counts in rows and columns
// -2..N-1. Anything else (a board that grew past old counts) is left to the single-pass step.
bool countsAroundBoardClear(const Board& board) {
    static constexpr std::int32_t kZeros[kCountsDim]{};
    const int n = board.BoardSize;
    const std::size_t width = sizeof(std::int32_t) * static_cast<std::size_t>(n + 2);
    for (int r = -2; r < n; ++r) {
        if (std::memcmp(&board.NeighbourCounts[r][-2], kZeros, width) != 0) {
            return false;
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
    // The hook runs after each chunk, once for each of its generations; a snapshot taken before
    // a watched chunk lets a hook that throws leave the board exactly at its generation.
    BitBoard snapshot;
    try {
        while (done < steps) {
            const int count =
                static_cast<int>(std::min<long long>(kChunkGenerations, steps - done));
            if (board.StatsVisible) {
                snapshot = bits;
            }
            generations(bits, count, populations);
            for (int i = 0; i < count; ++i) {
                population = boardPopulation + bits.fixedPopulation;
                boardPopulation = populations[i];
                generation = nextGeneration(generation);
                maxPopulation = std::max(maxPopulation, population);
                ++done;
                if (!board.StatsVisible) {
                    continue;
                }
                board.Population = population;
                board.Generation = generation;
                board.MaxPopulation = maxPopulation;
                board.PopulationPercent = populationPercent(population, n);
                try {
                    hook(context, board);
                } catch (...) {
                    bits = snapshot;
                    generations(bits, i + 1, populations);
                    throw;
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
