// Starting values, the clear and the run toggle's reset of the neighbour counts.
#include "engine/Board.h"
#include "engine/GenerationStep.h"
#include "tests/support/Boards.h"
#include "tests/support/RecordingPainter.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace tivla;
using tivla::test::RecordingPainter;

namespace {} // namespace

TEST(Board, StartsAsANewMainWindowDoes) {
    auto b = test::boardOfSize();
    EXPECT_EQ(b->BoardSize, 40);
    EXPECT_EQ(b->Generation, 0);
    EXPECT_EQ(b->Population, 0);
    EXPECT_EQ(b->MaxPopulation, 0);
    for (int c = 0; c < kCellsDim; ++c) {
        for (int r = 0; r < kCellsDim; ++r) {
            ASSERT_FALSE(b->isAlive(c, r));
        }
    }
    for (int r = kCountsLow; r <= kCountsHigh; ++r) {
        for (int c = kCountsLow; c <= kCountsHigh; ++c) {
            ASSERT_EQ(b->NeighbourCounts[r][c], 0);
        }
    }
}

TEST(Board, ClearKillsAndReportsOnlyLiveCellsOfTheBoardProper) {
    auto b = test::boardOfSize();
    b->Cells[3][5] = kAlive;
    b->Cells[39][39] = kAlive;
    b->Cells[40][7] = kAlive; // column N, from a board file
    b->Cells[7][40] = kAlive; // row N
    b->Generation = 9;
    b->Population = 4;
    b->MaxPopulation = 12;
    RecordingPainter painter;
    int clears = 0;
    b->ClearBoard(painter, [&] {
        // The counters are already reset when the display is emptied.
        EXPECT_EQ(b->Generation, 0);
        ++clears;
    });
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(painter.dead, (std::vector<std::pair<int, int>>{{3, 5}, {39, 39}}));
    EXPECT_TRUE(painter.alive.empty());
    EXPECT_FALSE(b->isAlive(3, 5));
    EXPECT_TRUE(b->isAlive(40, 7));
    EXPECT_TRUE(b->isAlive(7, 40));
    EXPECT_EQ(b->Population, 0);
    EXPECT_EQ(b->MaxPopulation, 0);
}

TEST(Board, ClearZeroesCountsOneDownAndRightLeavingTwoBandEntries) {
    auto b = test::boardOfSize();
    const int n = b->BoardSize;
    for (int r = -2; r <= n; ++r) {
        for (int c = -2; c <= n; ++c) {
            b->NeighbourCounts[r][c] = 3;
        }
    }
    SilentPainter silent;
    b->ClearBoard(silent, [] {});
    for (int r = 1; r <= n; ++r) {
        for (int c = 1; c <= n; ++c) {
            ASSERT_EQ(b->NeighbourCounts[r][c], 0) << r << "," << c;
        }
    }
    EXPECT_EQ(b->NeighbourCounts[n][0], 3);
    EXPECT_EQ(b->NeighbourCounts[0][n], 3);
    EXPECT_EQ(b->NeighbourCounts[0][0], 3); // row and column 0 are the step's to reset
}

TEST(Board, RunToggleResetCoversTheMarginAndNothingBeyond) {
    auto b = test::boardOfSize();
    b->BoardSize = 200;
    for (int r = kCountsLow; r <= kCountsHigh; ++r) {
        for (int c = kCountsLow; c <= kCountsHigh; ++c) {
            b->NeighbourCounts[r][c] = 1;
        }
    }
    b->zeroCountsAroundBoard();
    for (int r = kCountsLow; r <= kCountsHigh; ++r) {
        for (int c = kCountsLow; c <= kCountsHigh; ++c) {
            const bool inside = r >= -2 && r <= 202 && c >= -2 && c <= 202;
            ASSERT_EQ(b->NeighbourCounts[r][c], inside ? 0 : 1) << r << "," << c;
        }
    }
}

TEST(Board, LeftoverBandCountIsBornOnTheGrownBoardAndDiesNextStep) {
    auto b = test::boardOfSize();
    // After steps on 40x40 the band entry [40][0] can hold a leftover count.
    b->NeighbourCounts[40][0] = 3;
    SilentPainter silent;
    b->ClearBoard(silent, [] {});
    b->BoardSize = 50;
    stepGeneration(*b, silent, NoStatistics{});
    EXPECT_TRUE(b->isAlive(0, 40));
    EXPECT_EQ(b->Population, 0);
    stepGeneration(*b, silent, NoStatistics{});
    EXPECT_FALSE(b->isAlive(0, 40));
    EXPECT_EQ(b->Population, 1);
}
