// Helpers of the batch tests: a recorder of statistics calls, the kernels this processor
// runs, and random boards as a long session leaves them.
#pragma once

#include "engine/BatchKernel.h"
#include "engine/Board.h"
#include "tests/support/Boards.h"

#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tivla::test {

struct StatisticsCall {
    std::int32_t generation;
    std::int32_t population;
    long double percent;
    std::int32_t maxPopulation;
    bool operator==(const StatisticsCall&) const = default;
};

struct Recorder {
    std::vector<StatisticsCall>* calls;
    void operator()(const Board& b) const {
        calls->push_back({b.Generation, b.Population, b.PopulationPercent, b.MaxPopulation});
    }
};

inline std::vector<BatchKernel> kernelsHere() {
    std::vector<BatchKernel> kernels;
    for (BatchKernel k :
         {BatchKernel::Automatic, BatchKernel::Scalar, BatchKernel::Avx2, BatchKernel::Avx512}) {
        if (batchKernelAvailable(k)) {
            kernels.push_back(k);
        }
    }
    return kernels;
}

// A board of the given size as a long session could leave it: cells at some density, maybe
// markers in rows and columns N and N + 1 (from a file), maybe counts left in the band or
// inside the board (after a size change), and junk where the step never looks. watched, when
// given, says whether a run from this board should report its statistics (half of them do).
inline std::unique_ptr<Board> randomBoard(int size, std::mt19937& rng, bool* watched = nullptr) {
    auto b = std::make_unique<Board>();
    b->resetToStart();
    b->BoardSize = size;
    std::uniform_int_distribution<int> percent(0, 99);
    auto chance = [&](int p) { return percent(rng) < p; };
    const int density = std::vector<int>{5, 20, 35, 50, 70}[percent(rng) % 5];
    const int markers = std::vector<int>{0, 0, 10, 40}[percent(rng) % 4];
    for (int c = 0; c < kCellsDim; ++c) {
        for (int r = 0; r < kCellsDim; ++r) {
            const bool inside = c < size && r < size;
            const bool beyond = c > size + 1 || r > size + 1;
            if (chance(inside ? density : beyond ? 30 : markers)) {
                b->Cells[c][r] = kAlive;
            }
        }
    }
    if (chance(30)) {
        std::uniform_int_distribution<int> junk(-9, 9);
        for (int r = kCountsLow; r <= kCountsHigh; ++r) {
            for (int c = kCountsLow; c <= kCountsHigh; ++c) {
                const bool touched = r >= -2 && c >= -2 && r <= size && c <= size &&
                                     (r < size || c >= 0) && (c < size || r >= 0);
                if (!touched) {
                    b->NeighbourCounts[r][c] = junk(rng);
                }
            }
        }
    }
    std::uniform_int_distribution<int> count(0, kCountSaturation);
    if (chance(50)) {
        for (int k = 0; k <= size; ++k) {
            b->NeighbourCounts[size][k] = count(rng);
            b->NeighbourCounts[k][size] = count(rng);
        }
    }
    if (chance(15)) {
        std::uniform_int_distribution<int> at(-2, size - 1);
        b->NeighbourCounts[at(rng)][at(rng)] = count(rng);
    }
    if (const bool watch = chance(50); watched != nullptr) {
        *watched = watch;
    }
    if (chance(10)) {
        b->Generation = std::numeric_limits<std::int32_t>::max() - 3;
    }
    b->MaxPopulation = chance(20) ? size * size / 3 : 0;
    return b;
}

} // namespace tivla::test
