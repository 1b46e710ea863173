// The portable batch kernel: Life on bit lines of 64-bit words, as many words as the board
// needs, through a full-adder network over shifted lines.
#include "BatchKernel.h"

#include <algorithm>
#include <bit>

namespace tivla {
namespace {

using Word = std::uint64_t;
constexpr int kTopBit = 63;

// Neighbours within one line, as bit-sliced sums: t = up + down (the cell's own line, the
// cell left out) and s = up + self + down (the lines beside it).
template <int Words> struct LineSums {
    Word s0[Words];
    Word s1[Words];
    Word t0[Words];
    Word t1[Words];
};

template <int Words>
[[gnu::always_inline]] inline void sumLine(const Word* x, LineSums<Words>& out) {
    for (int i = 0; i < Words; ++i) {
        const Word up = (x[i] << 1) | (i > 0 ? x[i - 1] >> kTopBit : 0);
        const Word down = (x[i] >> 1) | (i + 1 < Words ? x[i + 1] << kTopBit : 0);
        const Word t0 = up ^ down;
        const Word t1 = up & down;
        out.t0[i] = t0;
        out.t1[i] = t1;
        out.s0[i] = t0 ^ x[i];
        out.s1[i] = t1 | (x[i] & t0);
    }
}

// One bit-sliced generation. The lines before and after give their three-cell sums a and b,
// the cell's own line the two cells beside it, t, so n = a + t + b counts the eight
// neighbours. A full adder gives n's low bit z0 and a carry c0 worth two; the twos a1 + t1 + b1
// = p + 2q and c0 make n 2 or 3 exactly when q is clear and one of p and c0 is set. The cell
// then lives for n = 3, or for n = 2 if it was alive.
[[gnu::always_inline]] inline Word lifeRule(Word a0, Word a1, Word t0, Word t1, Word b0, Word b1,
                                            Word alive) {
    const Word at = a0 ^ t0;
    const Word z0 = at ^ b0;
    const Word c0 = (a0 & t0) | (at & b0);
    const Word ab = a1 ^ t1;
    const Word p = ab ^ b1;
    const Word q = (a1 & t1) | (ab & b1);
    return ~q & (p ^ c0) & (z0 | alive);
}

template <int Words>
[[gnu::always_inline]] inline void generations(BitBoard& bits, int count,
                                               std::int32_t* populations) {
    const int n = bits.size;
    // The last word holds row N's marker, which the rule must leave alone.
    const Word rule = bits.boardMask[Words - 1];
    const int edgeWord = bits.edgeWord;
    const int edgeShift = bits.edgeShift;
    for (int g = 0; g < count; ++g) {
        Word edgeLine[BitBoard::kWords] = {};
        Word edgeRow[BitBoard::kWords] = {};
        for (int i = 0; i < Words; ++i) {
            edgeLine[i] = bits.line(n - 1)[i];
        }
        LineSums<Words> above{};
        LineSums<Words> middle;
        LineSums<Words> below;
        sumLine<Words>(bits.line(0), middle);
        std::int32_t population = 0;
        for (int base = 0; base < n; base += 64) {
            // Row N-1, gathered in a register: bit c - base for column c.
            Word gathered = 0;
            const int end = std::min(n, base + 64);
            for (int c = base; c < end; ++c) {
                Word* x = bits.line(c);
                sumLine<Words>(bits.line(c + 1), below);
                gathered |= ((x[edgeWord] >> edgeShift) & 1) << (c - base);
                for (int i = 0; i < Words; ++i) {
                    Word next = lifeRule(above.s0[i], above.s1[i], middle.t0[i], middle.t1[i],
                                         below.s0[i], below.s1[i], x[i]);
                    if (i == Words - 1) {
                        next = (next & rule) | (x[i] & ~rule);
                    }
                    x[i] = next;
                    population += std::popcount(next);
                }
                above = middle;
                middle = below;
            }
            edgeRow[base / 64] = gathered;
        }
        populations[g] = population;
        bits.recordEdges(edgeLine, edgeRow);
    }
}

[[gnu::always_inline]] inline void generationsForWidth(BitBoard& bits, int count,
                                                       std::int32_t* populations) {
    switch (bits.words) {
    case 1:
        generations<1>(bits, count, populations);
        break;
    case 2:
        generations<2>(bits, count, populations);
        break;
    case 3:
        generations<3>(bits, count, populations);
        break;
    default:
        generations<4>(bits, count, populations);
        break;
    }
}

} // namespace

void scalarGenerations(BitBoard& bits, int count, std::int32_t* populations) {
    generationsForWidth(bits, count, populations);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// The same code; inlined here, the population count becomes one instruction.
[[gnu::target("popcnt")]] void scalarPopcntGenerations(BitBoard& bits, int count,
                                                       std::int32_t* populations) {
    generationsForWidth(bits, count, populations);
}
#else
void scalarPopcntGenerations(BitBoard& bits, int count, std::int32_t* populations) {
    generationsForWidth(bits, count, populations);
}
#endif

} // namespace tivla
