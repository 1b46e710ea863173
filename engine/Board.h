// The Life model of one Тивла run: the board tables, its size and the counters, which is all
// a generation step reads and writes.
#pragma once

#include <cstdint>

namespace tivla {

inline constexpr int kMinBoardSize = 1;
inline constexpr int kMaxBoardSize = 200;
// Cells carries one column and one row beyond the largest board (board files store index N)
// and the step reads one more (index N + 1).
inline constexpr int kCellsDim = kMaxBoardSize + 2;
// NeighbourCounts runs from -3 to 203 in both directions.
inline constexpr int kCountsLow = -3;
inline constexpr int kCountsHigh = 203;
inline constexpr int kCountsDim = kCountsHigh - kCountsLow + 1;
// Counts saturate here; 4 stands for "four or more".
inline constexpr std::int32_t kCountSaturation = 4;

using Marker = std::uint8_t;
inline constexpr Marker kDead = 0;
inline constexpr Marker kAlive = 1;

// Neighbour counts indexed [row][column] with indices from -3 to 203.
class NeighbourCountTable {
public:
    std::int32_t* operator[](int row) { return data_[row - kCountsLow] - kCountsLow; }
    const std::int32_t* operator[](int row) const { return data_[row - kCountsLow] - kCountsLow; }
    std::int32_t* raw() { return &data_[0][0]; }
    const std::int32_t* raw() const { return &data_[0][0]; }

private:
    std::int32_t data_[kCountsDim][kCountsDim]{};
};

// A painter that draws nothing, for the silent step and for clears nobody watches.
struct SilentPainter {
    void PaintAliveCell(int, int) {}
    void PaintDeadCell(int, int) {}
};

class Board {
public:
    // The size and counters a new run starts with. The cells are left alone: a new board's
    // are all dead already.
    void resetToStart();

    // Empties the board at the current size. Every cell that was alive is reported to
    // painter.PaintDeadCell(column, row); clearStatistics() runs between the counter reset and
    // the cell loop, where the display is emptied.
    template <typename Painter, typename ClearStatistics>
    void ClearBoard(Painter& painter, ClearStatistics&& clearStatistics);

    // The neighbour-count reset of the run toggle: rows and columns -2 to N + 2.
    void zeroCountsAroundBoard();

    bool isAlive(int column, int row) const { return Cells[column][row] == kAlive; }
    // Recomputes PopulationPercent and MaxPopulation from Population, as the step's tail does.
    void finishStepCounters();

    // Indexed [column][row]; one byte per marker, kAlive or kDead.
    Marker Cells[kCellsDim][kCellsDim]{};
    NeighbourCountTable NeighbourCounts;

    std::int32_t BoardSize = 0;
    std::int32_t Generation = 0;
    std::int32_t Population = 0;
    std::int32_t MaxPopulation = 0;
    long double PopulationPercent = 0;
};

// Population as a whole-number percentage of size * size, ties to even.
long double populationPercent(std::int32_t population, std::int32_t size);
// The same, always by the extended-precision division; the yardstick for the fast path.
long double populationPercentExtended(std::int32_t population, std::int32_t size);

template <typename Painter, typename ClearStatistics>
void Board::ClearBoard(Painter& painter, ClearStatistics&& clearStatistics) {
    const int n = BoardSize;
    MaxPopulation = 0;
    Generation = 0;
    Population = 0;
    clearStatistics();
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            if (Cells[c][r] == kAlive) {
                Cells[c][r] = kDead;
                painter.PaintDeadCell(c, r);
            }
            // One row down and one column right: [N][0] and [0][N] keep what they held.
            NeighbourCounts[r + 1][c + 1] = 0;
        }
    }
}

} // namespace tivla
