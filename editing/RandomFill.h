// Adds a chosen number of live cells at uniformly random empty places of the board.
#pragma once

#include "engine/Board.h"

#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tivla {

// The refusal while the board runs on its timer.
inline constexpr std::string_view kFillBusyMessage = "Хозяин! Мы заняты.";

struct FillResult {
    int placed = 0;
    int requested = 0;
};

// What to tell the user when the board had fewer empty cells than were asked for; empty when
// the fill placed everything it was asked to.
std::string fillShortfallMessage(const FillResult& result);

inline constexpr int kMaxBoardCells = kMaxBoardSize * kMaxBoardSize;
static_assert(kMaxBoardCells <= UINT16_MAX + 1, "a place must fit 16 bits");

// Empty cells of the board proper (columns and rows 0 to BoardSize - 1).
int emptyCellCount(const Board& board);

// Writes the places of the empty cells, column by column, as column * BoardSize + row, and
// returns how many there are.
std::size_t collectEmptyCells(const Board& board, std::span<std::uint16_t, kMaxBoardCells> out);

// Anything with `int below(int bound)` drawing uniformly from 0 to bound - 1.
template <typename R>
concept UniformRandomSource = requires(R& random, int bound) {
    { random.below(bound) } -> std::convertible_to<int>;
};

// While at least this share of the board is empty (one cell in four), places are drawn as a
// column and then a row and an occupied place is drawn again, which costs few draws. Past it
// the rejections would pile up (a board one cell short of full needs N*N draws on average), so
// the remaining empty cells are listed once and one of them is drawn directly. Both ways every
// empty cell is equally likely at every placement.
inline constexpr int kRejectionDrawShare = 4;

// Places min(count, empty cells) new live cells, painting each at once; cells that were alive
// stay as they are and the counters are left for the next generation step. A count above the
// empty cells therefore fills the board rather than searching for ever.
template <typename Painter, UniformRandomSource Random>
FillResult randomFill(Board& board, int count, Painter& painter, Random& random) {
    FillResult result{0, count};
    const int n = std::clamp(board.BoardSize, 0, kMaxBoardSize);
    int empty = emptyCellCount(board);
    const int target = std::clamp(count, 0, empty);
    const auto place = [&](int column, int row) {
        board.Cells[column][row] = kAlive;
        painter.PaintAliveCell(column, row);
        ++result.placed;
        --empty;
    };

    while (result.placed < target && empty * kRejectionDrawShare >= n * n) {
        const int column = random.below(n);
        const int row = random.below(n);
        if (board.Cells[column][row] == kDead) {
            place(column, row);
        }
    }
    if (result.placed == target) {
        return result;
    }

    std::array<std::uint16_t, kMaxBoardCells> emptyCells;
    std::size_t remaining = collectEmptyCells(board, emptyCells);
    while (result.placed < target) {
        const auto pick = static_cast<std::size_t>(random.below(static_cast<int>(remaining)));
        const int where = emptyCells[pick];
        emptyCells[pick] = emptyCells[--remaining];
        place(where / n, where % n);
    }
    return result;
}

} // namespace tivla
