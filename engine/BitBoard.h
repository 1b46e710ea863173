// The board packed into bit lines for the batch kernels, with what a batch needs to put the
// board's counters and neighbour-count band back exactly as the single-pass step would.
#pragma once

#include "Board.h"

#include <cstdint>

namespace tivla {

// Line c holds board column c as bits: bit r is the cell of row r. Columns are contiguous in
// Cells, so packing reads straight down a column; Life and the step's treatment of row and
// column N are symmetric, so the kernels never need to know the lines are columns.
//
// Lines 0..N-1 are the board; bit N of each is the marker of row N, which takes part as a
// neighbour and never changes. Line N holds the markers of column N. Lines -1, -2 and N+1 are
// zero; every bit above N is zero. Markers in row and column N+1 matter only to Population
// and to the band, so they stay out of the lines.
struct BitBoard {
    // 256 bits a line: one AVX2 register, four 64-bit words.
    static constexpr int kWords = 4;
    static constexpr int kLineOffset = 2;
    // Lines -2..N+1, and the zero lines past them that the slot kernels fill their last
    // registers with (up to line N + 7).
    static constexpr int kLineSlots = kMaxBoardSize + 8;
    static constexpr int kHistoryPlanes = 3;

    // Packs Cells and counts what the step would read; the board's counts must be clear.
    void load(const Board& board);
    // Writes the board proper (rows and columns 0..N-1) back into Cells.
    void store(Board& board) const;
    // Adds what `steps` generations counted into the band of row N and column N.
    void settleBand(Board& board, long long steps) const;

    std::uint64_t* line(int column) { return lines[column + kLineOffset]; }
    const std::uint64_t* line(int column) const { return lines[column + kLineOffset]; }

    // One generation's edge cells, as they stood before the step: line N-1 (column N-1) and
    // bit N-1 of every line (row N-1, gathered as bit c for column c).
    void recordEdges(const std::uint64_t* edgeLine, const std::uint64_t* edgeRow) {
        addSaturating(columnHistory, edgeLine);
        addSaturating(rowHistory, edgeRow);
    }

    int size = 0;
    // Words a line needs for bits 0..N, for kernels that work word by word.
    int words = 0;
    // Where row N-1 sits in a line.
    int edgeWord = 0;
    int edgeShift = 0;
    // Bits 0..N-1: the cells the rule changes.
    std::uint64_t boardMask[kWords]{};
    // Live cells in lines 0..N-1 (bit N included) of the loaded generation.
    std::int32_t boardPopulation = 0;
    // What the step reads besides that and which never changes: column N, row N + 1 and
    // column N + 1.
    std::int32_t fixedPopulation = 0;

    alignas(64) std::uint64_t lines[kLineSlots][kWords]{};
    // Saturating counts (bit-sliced, 0..4) of the generations in which each edge cell lived.
    std::uint64_t columnHistory[kHistoryPlanes][kWords]{};
    std::uint64_t rowHistory[kHistoryPlanes][kWords]{};

    // Counts each set bit of `alive` into the bit-sliced planes, stopping at 4.
    static void addSaturating(std::uint64_t (&planes)[kHistoryPlanes][kWords],
                              const std::uint64_t* alive) {
        for (int w = 0; w < kWords; ++w) {
            const std::uint64_t in = alive[w] & ~planes[2][w];
            const std::uint64_t carry = planes[0][w] & in;
            planes[0][w] ^= in;
            planes[2][w] |= planes[1][w] & carry;
            planes[1][w] ^= carry;
        }
    }
};

} // namespace tivla
