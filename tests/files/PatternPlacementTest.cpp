// Which size a pattern opens on and where its box lands, at every edge of the six sizes.
#include "files/PatternPlacement.h"
#include "app/FormState.h"
#include "tests/support/RecordingPainter.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace tivla;
using tivla::test::RecordingPainter;

namespace {

Pattern box(int width, int height, std::vector<PatternCell> alive = {}) {
    return Pattern{width, height, std::move(alive)};
}

} // namespace

TEST(PatternPlacement, CurrentSizeWhenItFitsOtherwiseTheSmallestButtonSize) {
    const struct {
        int width;
        int height;
        int current;
        int expected;
    } cases[] = {
        {0, 0, 40, 40},      {40, 40, 40, 40},   {41, 1, 40, 50},     {1, 41, 40, 50},
        {50, 50, 40, 50},    {51, 50, 40, 80},   {80, 80, 40, 80},    {81, 2, 40, 100},
        {100, 100, 40, 100}, {101, 3, 40, 150},  {150, 150, 40, 150}, {151, 4, 40, 200},
        {200, 200, 40, 200}, {41, 41, 200, 200}, {60, 60, 60, 60},    {61, 10, 60, 80},
        {3, 3, 1, 40},       {1, 1, 1, 1},       {200, 1, 150, 200},  {120, 120, 100, 150},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(boardSizeForPattern(box(c.width, c.height), c.current), c.expected)
            << c.width << " x " << c.height << " on " << c.current;
    }
}

TEST(PatternPlacement, PlacingSetsTheSizeAsABoardFileDoesAndPaintsEachCell) {
    const struct {
        int size;
        int cellSizeBefore;
        int cellSizeAfter;
    } cases[] = {{80, 15, 8}, {200, 15, 2}, {60, 13, 13}, {3, 15, 15}};
    for (const auto& c : cases) {
        auto board = std::make_unique<Board>();
        board->resetToStart();
        FormState form;
        form.CellSize = c.cellSizeBefore;
        RecordingPainter painter;
        int applied = 0;
        int sizeWhenApplied = 0;
        const Pattern glider = box(3, 3, {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}});
        placePattern(glider, c.size, *board, painter, [&] {
            ++applied;
            sizeWhenApplied = board->BoardSize;
            form.followBoardSize(board->BoardSize);
        });
        EXPECT_EQ(applied, 1);
        EXPECT_EQ(sizeWhenApplied, c.size);
        EXPECT_EQ(board->BoardSize, c.size);
        EXPECT_EQ(form.CellSize, c.cellSizeAfter);
        // Centred, an odd margin's extra cell on the right and at the bottom.
        const int o = (c.size - 3) / 2;
        const std::vector<std::pair<int, int>> expected{
            {o + 1, o}, {o + 2, o + 1}, {o, o + 2}, {o + 1, o + 2}, {o + 2, o + 2}};
        EXPECT_EQ(painter.alive, expected);
        int alive = 0;
        for (int x = 0; x < kCellsDim; ++x) {
            for (int y = 0; y < kCellsDim; ++y) {
                alive += board->isAlive(x, y);
            }
        }
        EXPECT_EQ(alive, 5);
        EXPECT_TRUE(board->isAlive(o, o + 2));
    }
}
