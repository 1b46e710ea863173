// The batch advance's core: the bit-line kernels between one packing and one unpacking, with
// the counters and the statistics kept as the single-pass step keeps them, and the jump over
// whole periods once the packed board has come back to an earlier state.
#include "BatchRunner.h"

#include "BatchKernel.h"
#include "CpuFeatures.h"
#include "CycleSearch.h"
#include "GenerationStep.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace tivla {
namespace {

// Generations per kernel call; also the spacing of the cycle checks and of the progress calls.
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

std::int32_t generationAfter(std::int32_t generation, long long steps) {
    // Wraps like the original 32-bit counter, as Board::finishStepCounters does.
    const auto low = static_cast<std::uint32_t>(static_cast<unsigned long long>(steps));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(generation) + low);
}

// Whether the generations generation - period + 1 .. generation follow each other without the
// counter wrapping: a sink is only told of a repeat of such a stretch.
bool periodInOneStretch(std::int32_t generation, long long period) {
    return static_cast<long long>(generation) - (period - 1) >=
           std::numeric_limits<std::int32_t>::min();
}

// Steps one generation at a time, for boards the packing does not take.
BatchOutcome runSingleSteps(Board& board, long long steps, StatisticsSink* sink,
                            BatchProgress* progress) {
    BatchOutcome outcome;
    SilentPainter silent;
    while (outcome.done < steps) {
        stepGeneration(board, silent, sink);
        ++outcome.done;
        if (progress != nullptr && outcome.done % kChunkGenerations == 0 && outcome.done < steps &&
            !progress->carryOn(outcome.done, board.Generation)) {
            break;
        }
    }
    return outcome;
}

} // namespace

BatchOutcome runBatchGenerations(Board& board, long long steps, StatisticsSink* sink,
                                 BatchProgress* progress, const BatchSettings& settings) {
    if (steps <= 0) {
        return {};
    }
    const int n = board.BoardSize;
    if (n < kMinBoardSize || n > kMaxBoardSize) {
        return runSingleSteps(board, steps, sink, progress);
    }
    long long before = 0;
    // The board as loaded, when its counts make the first generation a step of its own: the
    // cycle may reach back to it.
    std::unique_ptr<BitBoard> loaded;
    if (!countsAroundBoardClear(board)) {
        if (settings.findCycleStart) {
            loaded = std::make_unique<BitBoard>();
            loaded->load(board);
        }
        SilentPainter silent;
        stepGeneration(board, silent, sink);
        before = 1;
        if (steps == 1 && !loaded) {
            return {1, std::nullopt};
        }
    }

    const BitGenerations generations = generationsFor(settings.kernel);
    const CycleSearch search(generations);
    const long long wanted = steps - before;
    auto bits = std::make_unique<BitBoard>();
    bits->load(board);
    std::unique_ptr<BitBoard> first;
    if (settings.findCycleStart) {
        first = std::make_unique<BitBoard>(*bits);
    }
    std::int32_t populations[kChunkGenerations];
    std::int32_t boardPopulation = bits->boardPopulation;
    std::int32_t population = board.Population;
    std::int32_t generation = board.Generation;
    std::int32_t maxPopulation = board.MaxPopulation;
    long long ran = 0;
    auto showCounters = [&] {
        board.Population = population;
        board.Generation = generation;
        board.MaxPopulation = maxPopulation;
        board.PopulationPercent = populationPercent(population, n);
    };
    auto finish = [&] {
        bits->store(board);
        bits->settleBand(board, ran);
        showCounters();
    };

    // Brent's schedule at stretch boundaries: a mark at 2^k stretches, compared with every
    // stretch boundary up to 2^(k+1). A match proves a period that divides the distance.
    const bool jumping = settings.detectCycles && (sink == nullptr || sink->takesRepetitions());
    std::unique_ptr<BitBoard> mark;
    if (settings.detectCycles) {
        mark = std::make_unique<BitBoard>();
    }
    long long markedAt = -1;
    long long nextMark = kChunkGenerations;
    long long period = 0;

    // The sink hears of each generation after its stretch has run; a copy taken before a
    // watched stretch lets a sink that throws leave the board exactly at its generation.
    std::unique_ptr<BitBoard> beforeStretch;
    if (sink != nullptr) {
        beforeStretch = std::make_unique<BitBoard>();
    }
    try {
        while (ran < wanted) {
            const int count =
                static_cast<int>(std::min<long long>(kChunkGenerations, wanted - ran));
            if (sink != nullptr) {
                *beforeStretch = *bits;
            }
            generations(*bits, count, populations);
            for (int i = 0; i < count; ++i) {
                population = boardPopulation + bits->fixedPopulation;
                boardPopulation = populations[i];
                generation = generationAfter(generation, 1);
                maxPopulation = std::max(maxPopulation, population);
                ++ran;
                if (sink == nullptr) {
                    continue;
                }
                showCounters();
                try {
                    sink->generationTaken(board);
                } catch (...) {
                    *bits = *beforeStretch;
                    generations(*bits, i + 1, populations);
                    throw;
                }
            }

            if (mark && period == 0 && count == kChunkGenerations) {
                if (markedAt >= 0 && CycleSearch::sameState(*bits, *mark)) {
                    // Equal edge histories over a whole multiple of the period mean they no
                    // longer change: from here on only the cells repeat.
                    period = search.leastPeriod(*bits, ran - markedAt);
                    mark.reset();
                } else if (ran == nextMark) {
                    *mark = *bits;
                    markedAt = ran;
                    nextMark *= 2;
                }
            }
            if (period > 0 && jumping) {
                const long long times = (wanted - ran) / period;
                if (times > 0 && (sink == nullptr || periodInOneStretch(generation, period))) {
                    // Every board, population and maximum of the skipped periods has been seen
                    // already; only the generation counter moves on.
                    ran += times * period;
                    generation = generationAfter(generation, times * period);
                    if (sink != nullptr) {
                        showCounters();
                        sink->periodRepeated(board, period, times);
                    }
                }
            }
            if (progress != nullptr && ran < wanted &&
                !progress->carryOn(before + ran, generation)) {
                break;
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();

    // The search starts after the single step; a cycle that `first` begins may begin a
    // generation earlier, with the board as loaded, if that board comes back `period` later.
    auto startOf = [&](long long fromFirst, long long cyclePeriod) {
        if (loaded && fromFirst == 0) {
            auto back = std::make_unique<BitBoard>(*first);
            search.advance(*back, cyclePeriod - 1);
            if (CycleSearch::sameCells(*back, *loaded)) {
                return 0LL;
            }
        }
        return before + fromFirst;
    };
    BatchOutcome outcome{before + ran, std::nullopt};
    if (period > 0) {
        outcome.cycle = BatchCycle{period, -1};
        if (first) {
            outcome.cycle->start = startOf(search.cycleStart(*first, period), period);
        }
    } else if (first) {
        if (const auto cycle = search.exactCycle(*first, ran)) {
            outcome.cycle = BatchCycle{cycle->period, startOf(cycle->start, cycle->period)};
        } else if (loaded && CycleSearch::sameCells(*bits, *loaded)) {
            // The board as loaded came back at the last generation run, one too late for the
            // search from `first` to see it close; any shorter period it would have seen.
            outcome.cycle = BatchCycle{before + ran, 0};
        }
    }
    return outcome;
}

} // namespace tivla
