// Starting values, the run toggle's count reset and the counters at the end of a step.
#include "Board.h"

#include <cmath>

namespace tivla {

void Board::FormCreate() {
    BoardSize = 40;
    CellSize = 15;
    AutoCollapse = true;
    MaxPopulation = 0;
    StampKind = 1;
    Population = 0;
    Generation = 0;
    StatsVisible = false;
}

void Board::zeroCountsAroundBoard() {
    const int n = BoardSize;
    for (int r = -2; r <= n + 2; ++r) {
        for (int c = -2; c <= n + 2; ++c) {
            NeighbourCounts[r][c] = 0;
        }
    }
}

long double populationPercent(std::int32_t population, std::int32_t size) {
    // Extended precision in this exact order: the percentages users have seen depend on it.
    const long double onePercent = static_cast<long double>(size * size) / 100.0L;
    const long double share = static_cast<long double>(population) / onePercent;
    // nearbyint honours the default round-to-nearest-even mode.
    return std::nearbyint(share);
}

void Board::finishStepCounters() {
    // Wraps like the original 32-bit counter rather than overflowing.
    Generation = static_cast<std::int32_t>(static_cast<std::uint32_t>(Generation) + 1u);
    PopulationPercent = populationPercent(Population, BoardSize);
    if (Population > MaxPopulation) {
        MaxPopulation = Population;
    }
}

} // namespace tivla
