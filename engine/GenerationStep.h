// The single-pass, in-place generation step in its painting and silent forms.
#pragma once

#include "Board.h"
#include "StatisticsSink.h"

#include <type_traits>

namespace tivla {

// Tells `statistics` (a StatisticsSink pointer, which may be null, a sink, NoStatistics or a
// callable taking const Board&) of the generation just taken.
template <typename Statistics> void reportGeneration(Statistics&& statistics, const Board& board) {
    using Plain = std::remove_cvref_t<Statistics>;
    if constexpr (std::is_same_v<Plain, NoStatistics> || std::is_same_v<Plain, std::nullptr_t>) {
        return;
    } else if constexpr (std::is_pointer_v<Plain>) {
        if (statistics != nullptr) {
            statistics->generationTaken(board);
        }
    } else if constexpr (std::is_base_of_v<StatisticsSink, Plain>) {
        statistics.generationTaken(board);
    } else {
        statistics(board);
    }
}

// One generation. The painter hears of every birth and death the moment it happens (pass a
// SilentPainter for the silent form: the calls compile to nothing); the statistics hear of the
// generation once at the end (pass NoStatistics or a null sink when nobody shows them).
template <typename Painter, typename Statistics>
void stepGeneration(Board& board, Painter& painter, Statistics&& statistics) {
    const int n = board.BoardSize;
    auto& counts = board.NeighbourCounts;
    std::int32_t population = 0;
    for (int i = 0; i <= n + 1; ++i) {
        for (int j = 0; j <= n + 1; ++j) {
            if (board.Cells[j][i] == kAlive) {
                ++population;
                for (int k = i - 1; k <= i + 1; ++k) {
                    if (k < 0 || k > n) {
                        continue;
                    }
                    for (int l = j - 1; l <= j + 1; ++l) {
                        if ((k == i && l == j) || l < 0 || l > n) {
                            continue;
                        }
                        if (counts[k][l] < kCountSaturation) {
                            ++counts[k][l];
                        }
                    }
                }
            }
            if (i >= 2 && j >= 2) {
                // Two rows and two columns behind the scan every neighbour has been counted.
                const int r = i - 2;
                const int c = j - 2;
                const std::int32_t neighbours = counts[r][c];
                Marker& cell = board.Cells[c][r];
                if (neighbours == 3 && cell == kDead) {
                    cell = kAlive;
                    painter.PaintAliveCell(c, r);
                } else if ((neighbours < 2 || neighbours == kCountSaturation) && cell == kAlive) {
                    cell = kDead;
                    painter.PaintDeadCell(c, r);
                }
            }
            counts[i - 2][j - 2] = 0;
        }
    }
    board.Population = population;
    board.finishStepCounters();
    reportGeneration(statistics, static_cast<const Board&>(board));
}

// The silent form, repeated: what the batch commands run when no faster engine is at hand.
template <typename Statistics>
void runSilentSteps(Board& board, long long steps, Statistics&& statistics) {
    SilentPainter silent;
    for (long long s = 0; s < steps; ++s) {
        stepGeneration(board, silent, statistics);
    }
}

} // namespace tivla
