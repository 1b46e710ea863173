// The random fill: how many cells it places, where, and that it always ends.
#include "editing/RandomFill.h"
#include "editing/ClockSeededRandom.h"
#include "tests/support/RecordingPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace tivla;
using tivla::test::RecordingPainter;

namespace {

using Cell = std::pair<int, int>; // column, row

constexpr Marker kSpareMarker = 0x5C;

enum class Background { Empty, EveryFourthDiagonal, Full, AllButTen };

bool aliveIn(Background background, int c, int r, int n) {
    switch (background) {
    case Background::Empty:
        return false;
    case Background::EveryFourthDiagonal:
        return (c + r) % 4 == 0;
    case Background::Full:
        return true;
    case Background::AllButTen:
        return c * n + r >= 10;
    }
    return false;
}

// Cells past the board hold a marker nothing else writes, as if left there by a board file.
std::unique_ptr<Board> boardWith(int n, Background background) {
    auto board = std::make_unique<Board>();
    board->BoardSize = n;
    board->Population = 17;
    board->Generation = 5;
    board->MaxPopulation = 23;
    for (int c = 0; c < kCellsDim; ++c) {
        for (int r = 0; r < kCellsDim; ++r) {
            board->Cells[c][r] =
                (c < n && r < n) ? (aliveIn(background, c, r, n) ? kAlive : kDead) : kSpareMarker;
        }
    }
    return board;
}

struct ScriptedRandom {
    std::vector<int> values;
    std::size_t next = 0;
    std::vector<int> bounds;
    int below(int bound) {
        bounds.push_back(bound);
        return values.at(next++);
    }
};

} // namespace

TEST(RandomFill, PlacesTheCountOrEveryEmptyCellAndAlwaysEnds) {
    const struct {
        int n;
        Background background;
        int count;
        int placed;
    } cases[] = {
        {40, Background::Empty, 3, 3},
        {40, Background::Empty, 1600, 1600},
        {40, Background::EveryFourthDiagonal, 1000, 1000},
        {40, Background::EveryFourthDiagonal, 1600, 1200},
        {40, Background::Full, 3, 0},
        {40, Background::Empty, 2550, 1600}, // count set on a larger board
        {200, Background::Empty, 2550, 2550},
        {200, Background::Empty, 40000, 40000},
        {200, Background::AllButTen, 3, 3},
        {1, Background::Empty, 3, 1},
        {40, Background::Empty, 0, 0},
        {40, Background::Empty, -4, 0},
    };
    ClockSeededRandom random;
    for (const auto& c : cases) {
        random.reseed(static_cast<std::uint64_t>(c.n * 7919 + c.count));
        auto board = boardWith(c.n, c.background);
        const auto before = std::make_unique<Board>(*board);
        RecordingPainter painter;
        const FillResult result = randomFill(*board, c.count, painter, random);

        const std::string where = std::to_string(c.count) + " on " + std::to_string(c.n);
        EXPECT_EQ(result.placed, c.placed) << where;
        EXPECT_EQ(result.requested, c.count) << where;
        EXPECT_TRUE(painter.dead.empty()) << where;
        const std::set<Cell> painted(painter.alive.begin(), painter.alive.end());
        EXPECT_EQ(painted.size(), painter.alive.size()) << where << ": a cell painted twice";
        std::set<Cell> born;
        for (int col = 0; col < kCellsDim; ++col) {
            for (int row = 0; row < kCellsDim; ++row) {
                const Marker was = before->Cells[col][row];
                const Marker is = board->Cells[col][row];
                if (was != is) {
                    ASSERT_TRUE(col < c.n && row < c.n && was == kDead && is == kAlive)
                        << where << ": cell (" << col << ", " << row << ") changed wrongly";
                    born.emplace(col, row);
                }
            }
        }
        EXPECT_EQ(born, painted) << where;
        EXPECT_EQ(static_cast<int>(born.size()), c.placed) << where;
        EXPECT_EQ(board->Population, 17);
        EXPECT_EQ(board->Generation, 5);
        EXPECT_EQ(board->MaxPopulation, 23);
    }
}

TEST(RandomFill, DrawsTheColumnFirstAndDrawsAgainOnAnOccupiedPlace) {
    auto board = boardWith(10, Background::Empty);
    board->Cells[3][7] = kAlive;
    ScriptedRandom random;
    random.values = {3, 7, 2, 5};
    RecordingPainter painter;
    const FillResult result = randomFill(*board, 1, painter, random);
    EXPECT_EQ(result.placed, 1);
    EXPECT_TRUE(board->isAlive(2, 5));
    EXPECT_FALSE(board->isAlive(5, 2));
    EXPECT_EQ(painter.alive, (std::vector<Cell>{{2, 5}}));
    EXPECT_EQ(random.bounds, (std::vector<int>{10, 10, 10, 10}));
}

TEST(RandomFill, EveryEmptyCellIsEquallyLikely) {
    // Sparse boards draw and reject; nearly full ones draw from the list of empty cells.
    const struct {
        Background background;
        int count;
        int emptyCells;
    } cases[] = {
        {Background::Empty, 1, 100},
        {Background::AllButTen, 1, 10},
        {Background::AllButTen, 5, 10},
    };
    constexpr int n = 10;
    constexpr int kRounds = 20000;
    ClockSeededRandom random;
    random.reseed(12345);
    for (const auto& c : cases) {
        std::map<Cell, int> hits;
        auto board = boardWith(n, c.background);
        for (int round = 0; round < kRounds; ++round) {
            RecordingPainter painter;
            randomFill(*board, c.count, painter, random);
            for (const Cell& cell : painter.alive) {
                ++hits[cell];
                board->Cells[cell.first][cell.second] = kDead;
            }
        }
        const double mean = static_cast<double>(kRounds) * c.count / c.emptyCells;
        EXPECT_EQ(static_cast<int>(hits.size()), c.emptyCells);
        for (const auto& [cell, count] : hits) {
            EXPECT_NEAR(count, mean, mean * 0.25)
                << "(" << cell.first << ", " << cell.second << ") with count " << c.count;
        }
    }
}

TEST(RandomFill, TellsTheUserWhenTheBoardRanOutOfEmptyCells) {
    const struct {
        FillResult result;
        std::string message;
    } cases[] = {
        {{3, 3}, ""},
        {{0, 0}, ""},
        {{0, -4}, ""},
        {{0, 3}, "Хозяин! Свободных клеток не осталось."},
        {{1200, 1600}, "Хозяин! Свободных клеток хватило только на 1200 из 1600."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fillShortfallMessage(c.result), c.message);
    }
    EXPECT_EQ(kFillBusyMessage, "Хозяин! Мы заняты.");
}

TEST(ClockSeededRandom, RepeatsForASeedAndStaysWithinTheBound) {
    ClockSeededRandom a;
    ClockSeededRandom b;
    a.reseed(99);
    b.reseed(99);
    for (int i = 0; i < 1000; ++i) {
        const int bound = 1 + i % 200;
        const int value = a.below(bound);
        ASSERT_EQ(value, b.below(bound));
        ASSERT_GE(value, 0);
        ASSERT_LT(value, bound);
    }
}
