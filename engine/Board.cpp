// Starting values, the run toggle's count reset and the counters at the end of a step.
#include "Board.h"

#include <cmath>

namespace tivla {

void Board::resetToStart() {
    BoardSize = 40;
    MaxPopulation = 0;
    Population = 0;
    Generation = 0;
}

void Board::zeroCountsAroundBoard() {
    const int n = BoardSize;
    for (int r = -2; r <= n + 2; ++r) {
        for (int c = -2; c <= n + 2; ++c) {
            NeighbourCounts[r][c] = 0;
        }
    }
}

long double populationPercentExtended(std::int32_t population, std::int32_t size) {
    // Extended precision in this exact order: the percentages users have seen depend on it.
    const long double onePercent = static_cast<long double>(size * size) / 100.0L;
    const long double share = static_cast<long double>(population) / onePercent;
    // nearbyint honours the default round-to-nearest-even mode.
    return std::nearbyint(share);
}

long double populationPercent(std::int32_t population, std::int32_t size) {
    // Integer arithmetic gives the same answer whenever the exact share is not a tie: it then
    // lies at least 1 / (2 N^2) from the rounding boundary, far beyond the extended-precision
    // error. Only exact ties take the slow path, where that error decides.
    const std::int64_t cells = static_cast<std::int64_t>(size) * size;
    if (cells > 0 && population >= 0) {
        const std::int64_t scaled = 100 * static_cast<std::int64_t>(population);
        const std::int64_t whole = scaled / cells;
        const std::int64_t twiceRest = 2 * (scaled % cells);
        if (twiceRest < cells) {
            return static_cast<long double>(whole);
        }
        if (twiceRest > cells) {
            return static_cast<long double>(whole + 1);
        }
    }
    return populationPercentExtended(population, size);
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
