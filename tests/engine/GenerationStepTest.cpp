// The single-pass step against the textbook rule, and the behaviour at the board's edge.
#include "engine/GenerationStep.h"
#include "engine/Board.h"
#include "engine/TextbookLife.h"
#include "tests/support/Boards.h"
#include "tests/support/RecordingPainter.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace tivla;
using tivla::test::RecordingPainter;

namespace {

void step(Board& b) {
    SilentPainter silent;
    stepGeneration(b, silent, NoStatistics{});
}

} // namespace

TEST(GenerationStep, AgreesWithTheTextbookRuleOnRandomBoardsOfEverySize) {
    std::mt19937 rng(20261208);
    for (int size = 1; size <= kMaxBoardSize; size += (size < 12 ? 1 : 7)) {
        auto b = test::boardOfSize(size);
        TextbookLife ref(size);
        std::bernoulli_distribution live(0.35);
        for (int c = 0; c < size; ++c) {
            for (int r = 0; r < size; ++r) {
                const bool v = live(rng);
                ref.set(c, r, v);
                b->Cells[c][r] = v ? kAlive : kDead;
            }
        }
        RecordingPainter painter;
        for (int gen = 1; gen <= 12; ++gen) {
            int before = 0;
            std::vector<std::uint8_t> old(static_cast<std::size_t>(size * size));
            for (int c = 0; c < size; ++c) {
                for (int r = 0; r < size; ++r) {
                    old[static_cast<std::size_t>(r * size + c)] = ref.alive(c, r);
                    before += ref.alive(c, r);
                }
            }
            painter.alive.clear();
            painter.dead.clear();
            stepGeneration(*b, painter, NoStatistics{});
            ref.step();
            const std::set<std::pair<int, int>> born(painter.alive.begin(), painter.alive.end());
            const std::set<std::pair<int, int>> died(painter.dead.begin(), painter.dead.end());
            ASSERT_EQ(b->Population, before) << "size " << size << " gen " << gen;
            ASSERT_EQ(b->Generation, gen);
            for (int c = 0; c < size; ++c) {
                for (int r = 0; r < size; ++r) {
                    const bool now = ref.alive(c, r);
                    const bool was = old[static_cast<std::size_t>(r * size + c)];
                    ASSERT_EQ(b->isAlive(c, r), now)
                        << "size " << size << " cell " << c << "," << r;
                    ASSERT_EQ(born.count({c, r}) == 1, now && !was);
                    ASSERT_EQ(died.count({c, r}) == 1, was && !now);
                }
            }
            // Nothing is born beyond the board, and every count the rule used is reset.
            for (int k = 0; k <= size + 1; ++k) {
                ASSERT_FALSE(b->isAlive(size, k));
                ASSERT_FALSE(b->isAlive(k, size));
            }
            for (int r = -2; r < size; ++r) {
                for (int c = -2; c < size; ++c) {
                    ASSERT_EQ(b->NeighbourCounts[r][c], 0);
                }
            }
        }
    }
}

TEST(GenerationStep, SmallPatternsBehaveAsLifeSays) {
    {
        auto b = test::boardOfSize(40);
        step(*b);
        EXPECT_EQ(b->Generation, 1);
        EXPECT_EQ(b->Population, 0);
        EXPECT_EQ(b->PopulationPercent, 0);
    }
    {
        auto b = test::boardOfSize(40);
        b->Cells[10][10] = kAlive;
        step(*b);
        EXPECT_EQ(b->Population, 1);
        EXPECT_FALSE(b->isAlive(10, 10));
        step(*b);
        EXPECT_EQ(b->Population, 0);
    }
    {
        auto b = test::boardOfSize(40);
        b->Cells[19][20] = b->Cells[20][20] = b->Cells[21][20] = kAlive;
        for (int g = 0; g < 4; ++g) {
            step(*b);
            EXPECT_EQ(b->Population, 3);
        }
        EXPECT_TRUE(b->isAlive(20, 20) && b->isAlive(19, 20) && b->isAlive(21, 20));
    }
    {
        auto b = test::boardOfSize(40);
        b->Cells[0][0] = b->Cells[1][0] = b->Cells[0][1] = b->Cells[1][1] = kAlive;
        for (int g = 0; g < 5; ++g) {
            step(*b);
        }
        EXPECT_TRUE(b->isAlive(0, 0) && b->isAlive(1, 0) && b->isAlive(0, 1) && b->isAlive(1, 1));
        EXPECT_EQ(b->Population, 4);
    }
    {
        // Crowding: the centre of a full 3x3 dies, a dead centre with eight around stays dead.
        auto b = test::boardOfSize(40);
        for (int dc = -1; dc <= 1; ++dc) {
            for (int dr = -1; dr <= 1; ++dr) {
                b->Cells[10 + dc][10 + dr] = kAlive;
                if (dc || dr) {
                    b->Cells[30 + dc][30 + dr] = kAlive;
                }
            }
        }
        step(*b);
        EXPECT_FALSE(b->isAlive(10, 10));
        EXPECT_FALSE(b->isAlive(30, 30));
    }
}

TEST(GenerationStep, GliderRunsIntoTheCornerAndSettlesAsABlock) {
    auto b = test::boardOfSize(40);
    for (auto [c, r] : {std::pair{26, 25}, {27, 26}, {25, 27}, {26, 27}, {27, 27}}) {
        b->Cells[c][r] = kAlive;
    }
    for (int g = 1; g <= 60; ++g) {
        step(*b);
        if (g >= 51) {
            int alive = 0;
            for (int c = 0; c <= 41; ++c) {
                for (int r = 0; r <= 41; ++r) {
                    alive += b->isAlive(c, r);
                }
            }
            ASSERT_EQ(alive, 4) << "step " << g;
            ASSERT_TRUE(b->isAlive(38, 38) && b->isAlive(39, 38) && b->isAlive(38, 39) &&
                        b->isAlive(39, 39))
                << "step " << g;
        }
    }
    EXPECT_FALSE(b->isAlive(0, 0));
}

TEST(GenerationStep, PercentRoundsHalfToEvenOnFortyByForty) {
    const std::pair<int, int> table[] = {{8, 0}, {24, 2}, {40, 2}, {56, 4}, {1600, 100}, {400, 25}};
    for (auto [population, percent] : table) {
        EXPECT_EQ(populationPercent(population, 40), percent) << population;
    }
    auto b = test::boardOfSize(40);
    for (int c = 0; c < 40; ++c) {
        for (int r = 0; r < 40; ++r) {
            b->Cells[c][r] = kAlive;
        }
    }
    step(*b);
    EXPECT_EQ(b->Population, 1600);
    EXPECT_EQ(b->PopulationPercent, 100);
}

TEST(GenerationStep, FastPercentMatchesTheExtendedDivisionEverywhere) {
    for (int size = 1; size <= kMaxBoardSize; ++size) {
        const int most = (size + 2) * (size + 2);
        for (int population = 0; population <= most; ++population) {
            ASSERT_EQ(populationPercent(population, size),
                      populationPercentExtended(population, size))
                << population << " of " << size;
        }
    }
}

TEST(GenerationStep, MaxPopulationRisesOnlyOnAStrictlyLargerPopulation) {
    auto b = test::boardOfSize(40);
    b->Cells[19][20] = b->Cells[20][20] = b->Cells[21][20] = kAlive;
    step(*b);
    EXPECT_EQ(b->MaxPopulation, 3);
    b->MaxPopulation = 7;
    step(*b);
    EXPECT_EQ(b->MaxPopulation, 7);
    b->Cells[5][5] = b->Cells[6][5] = b->Cells[5][6] = b->Cells[6][6] = b->Cells[10][5] = kAlive;
    step(*b);
    EXPECT_EQ(b->Population, 8);
    EXPECT_EQ(b->MaxPopulation, 8);
}

TEST(GenerationStep, MarkersBeyondTheBoardTakePartButNeverChange) {
    // Column N joins the births of the last column; it never changes itself.
    auto b = test::boardOfSize(10);
    b->Cells[9][3] = b->Cells[9][5] = b->Cells[10][4] = kAlive;
    step(*b);
    EXPECT_EQ(b->Population, 3);
    EXPECT_TRUE(b->isAlive(9, 4));
    EXPECT_FALSE(b->isAlive(9, 3));
    EXPECT_FALSE(b->isAlive(9, 5));
    EXPECT_TRUE(b->isAlive(10, 4));

    // Row and column N + 1 only add to the population.
    auto far = test::boardOfSize(10);
    far->Cells[11][2] = far->Cells[3][11] = far->Cells[11][11] = kAlive;
    far->Cells[9][2] = far->Cells[9][3] = kAlive; // would be born-into by a counted neighbour
    step(*far);
    EXPECT_EQ(far->Population, 5);
    EXPECT_FALSE(far->isAlive(9, 2));
    EXPECT_TRUE(far->isAlive(11, 2));
    // [row][column]: the band hears of column N + 1 too, though nothing ever reads it.
    EXPECT_EQ(far->NeighbourCounts[2][10], 3);
}

TEST(GenerationStep, TheBandOfRowAndColumnNKeepsItsSaturatingCounts) {
    auto b = test::boardOfSize(10);
    b->Cells[0][9] = b->Cells[1][9] = kAlive; // two cells on the last row
    step(*b);
    // Row N under them: [10][0] sees both, [10][1] both, [10][2] one.
    EXPECT_EQ(b->NeighbourCounts[10][0], 2);
    EXPECT_EQ(b->NeighbourCounts[10][1], 2);
    EXPECT_EQ(b->NeighbourCounts[10][2], 1);
    b->Cells[0][9] = b->Cells[1][9] = b->Cells[2][9] = kAlive;
    step(*b);
    step(*b);
    EXPECT_EQ(b->NeighbourCounts[10][1], kCountSaturation);
    EXPECT_EQ(b->NeighbourCounts[10][0], kCountSaturation);
}

TEST(GenerationStep, StatisticsReachOnlyTheSinkTheCallerPasses) {
    auto b = test::boardOfSize(40);
    std::vector<int> seen;
    auto hook = [&](const Board& board) { seen.push_back(board.Generation); };
    EachGenerationSink<decltype(hook)> sink(hook);
    SilentPainter silent;
    stepGeneration(*b, silent, NoStatistics{});
    stepGeneration(*b, silent, hook);
    stepGeneration(*b, silent, static_cast<StatisticsSink*>(&sink));
    stepGeneration(*b, silent, static_cast<StatisticsSink*>(nullptr));
    stepGeneration(*b, silent, NoStatistics{});
    EXPECT_EQ(seen, (std::vector<int>{2, 3}));
}
