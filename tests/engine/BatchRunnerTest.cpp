// The batch kernels against the single-pass step: every table entry, every counter and every
// statistics call must come out the same, on random boards of every size with markers beyond
// the board and counts left over in the band and inside the board.
#include "engine/BatchRunner.h"
#include "BatchTestSupport.h"
#include "engine/BatchKernel.h"
#include "engine/Board.h"
#include "engine/GenerationStep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tivla;
using namespace tivla::test;

namespace {

// Runs the reference and every kernel side by side in batches of the given lengths.
void expectSameAsSinglePass(const Board& start, bool watched, const std::vector<int>& batches,
                            const std::string& what) {
    auto reference = std::make_unique<Board>(start);
    std::vector<StatisticsCall> referenceCalls;
    std::vector<std::unique_ptr<Board>> boards;
    std::vector<std::vector<StatisticsCall>> calls;
    const auto kernels = kernelsHere();
    for (std::size_t k = 0; k < kernels.size(); ++k) {
        boards.push_back(std::make_unique<Board>(start));
    }
    calls.resize(kernels.size());
    int generations = 0;
    for (int steps : batches) {
        // Half the boards are watched, half run with no statistics at all.
        watched ? runSilentSteps(*reference, steps, Recorder{&referenceCalls})
                : runSilentSteps(*reference, steps, NoStatistics{});
        generations += steps;
        for (std::size_t k = 0; k < kernels.size(); ++k) {
            watched ? runBatchWith(kernels[k], *boards[k], steps, Recorder{&calls[k]})
                    : runBatchWith(kernels[k], *boards[k], steps, NoStatistics{});
            const std::string diff = difference(*reference, *boards[k]);
            ASSERT_TRUE(diff.empty()) << what << ", " << batchKernelName(kernels[k]) << " after "
                                      << generations << " generations: " << diff;
            ASSERT_EQ(calls[k], referenceCalls) << what << ", " << batchKernelName(kernels[k]);
        }
    }
}

std::vector<int> randomBatches(std::mt19937& rng, int generations) {
    std::vector<int> batches;
    // Single generations often, so that every counter is compared generation by generation.
    std::uniform_int_distribution<int> length(-4, 12);
    for (int done = 0; done < generations;) {
        const int steps = std::max(1, length(rng));
        batches.push_back(steps);
        done += steps;
    }
    return batches;
}

} // namespace

TEST(BatchRunner, MatchesTheSinglePassStepOnRandomBoardsOfEverySize) {
    std::mt19937 rng(7041);
    for (int size = kMinBoardSize; size <= kMaxBoardSize; ++size) {
        for (int board = 0; board < 3; ++board) {
            bool watched = false;
            const auto start = randomBoard(size, rng, &watched);
            expectSameAsSinglePass(*start, watched, randomBatches(rng, 30),
                                   "size " + std::to_string(size) + " board " +
                                       std::to_string(board));
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

TEST(BatchRunner, MatchesTheSinglePassStepOverLongRuns) {
    std::mt19937 rng(1822);
    // Word boundaries of the bit lines, the sizes the buttons offer, and the largest.
    for (int size : {40, 63, 64, 65, 100, 127, 128, 150, 191, 192, 200}) {
        bool watched = false;
        const auto start = randomBoard(size, rng, &watched);
        expectSameAsSinglePass(*start, watched, {1, 300, 7, 1, 450},
                               "size " + std::to_string(size));
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(BatchRunner, StepByStepTheBoardIsTheSinglePassBoard) {
    std::mt19937 rng(99);
    for (int size : {1, 2, 3, 17, 64, 199}) {
        bool watched = false;
        const auto start = randomBoard(size, rng, &watched);
        expectSameAsSinglePass(*start, watched, std::vector<int>(40, 1),
                               "size " + std::to_string(size));
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(BatchRunner, NamedSituations) {
    struct Case {
        const char* what;
        int size;
        std::vector<std::pair<int, int>> alive;  // (column, row)
        std::vector<std::pair<int, int>> counts; // (row, column) holding 3
        std::vector<int> batches;
    };
    const std::vector<Case> cases{
        // Two cells in column 9 and a marker beyond them give birth between them.
        {"marker beyond the edge", 10, {{9, 3}, {9, 5}, {10, 4}}, {}, {1, 1, 5}},
        // After growing from 40 to 50, a count of 3 left at [40][0] gives a short-lived cell.
        {"count left by a smaller board", 50, {}, {{40, 0}, {0, 40}}, {3}},
        {"glider into the corner",
         40,
         {{26, 25}, {27, 26}, {25, 27}, {26, 27}, {27, 27}},
         {},
         {60}},
        {"markers only, in the corner beyond", 5, {{5, 5}, {6, 6}, {5, 6}}, {}, {2, 9}},
        {"empty board", 1, {}, {}, {0, 1, -3, 4}},
    };
    for (const auto& c : cases) {
        auto b = std::make_unique<Board>();
        b->resetToStart();
        b->BoardSize = c.size;
        for (auto [column, row] : c.alive) {
            b->Cells[column][row] = kAlive;
        }
        for (auto [row, column] : c.counts) {
            b->NeighbourCounts[row][column] = 3;
        }
        expectSameAsSinglePass(*b, true, c.batches, c.what);
    }
}

TEST(BatchRunner, AHookThatThrowsLeavesTheBoardAtItsGeneration) {
    std::mt19937 rng(5);
    for (BatchKernel kernel : kernelsHere()) {
        auto start = randomBoard(57, rng);
        auto reference = std::make_unique<Board>(*start);
        auto board = std::make_unique<Board>(*start);
        // Past the first few hundred generations, which a batch may take in one go.
        const std::int32_t stopAt = start->Generation + 300;
        auto throwing = [stopAt](const Board& b) {
            if (b.Generation == stopAt) {
                throw std::runtime_error("stop");
            }
        };
        EXPECT_THROW(runSilentSteps(*reference, 400, throwing), std::runtime_error);
        EXPECT_THROW(runBatchWith(kernel, *board, 400, throwing), std::runtime_error);
        EXPECT_EQ(difference(*reference, *board), "") << batchKernelName(kernel);
    }
}

TEST(BatchRunner, PortableScalarKernelMatchesThePopcountBuild) {
    std::mt19937 rng(3);
    for (int size : {5, 64, 130, 200}) {
        const auto start = randomBoard(size, rng);
        auto portable = std::make_unique<BitBoard>();
        auto popcnt = std::make_unique<BitBoard>();
        portable->load(*start);
        popcnt->load(*start);
        std::int32_t a[20];
        std::int32_t b[20];
        scalarGenerations(*portable, 20, a);
        scalarPopcntGenerations(*popcnt, 20, b);
        EXPECT_EQ(std::memcmp(a, b, sizeof a), 0);
        EXPECT_EQ(std::memcmp(portable->lines, popcnt->lines, sizeof portable->lines), 0);
        EXPECT_EQ(
            std::memcmp(portable->rowHistory, popcnt->rowHistory, sizeof portable->rowHistory), 0);
        EXPECT_EQ(std::memcmp(portable->columnHistory, popcnt->columnHistory,
                              sizeof portable->columnHistory),
                  0);
    }
}
