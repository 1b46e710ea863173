// The AVX2 batch kernel: one 256-bit register a line, the same adder network as the scalar
// kernel. Only the functions here are built for AVX2; callers check the processor first.
#include "BatchKernel.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

#include <immintrin.h>

#define TIVLA_AVX2 __attribute__((target("avx2,popcnt")))
#define TIVLA_AVX2_INLINE __attribute__((target("avx2,popcnt"), always_inline)) inline

namespace tivla {
namespace {

// Bit i takes bit i - 1 (the cell above, in board terms the row before).
TIVLA_AVX2_INLINE __m256i shiftUp(__m256i x) {
    // Words [0, x0, x1, x2] supply the bit that crosses each word boundary.
    const __m256i carry = _mm256_alignr_epi8(x, _mm256_permute2x128_si256(x, x, 0x08), 8);
    return _mm256_or_si256(_mm256_slli_epi64(x, 1), _mm256_srli_epi64(carry, 63));
}

// Bit i takes bit i + 1.
TIVLA_AVX2_INLINE __m256i shiftDown(__m256i x) {
    // Words [x1, x2, x3, 0].
    const __m256i carry = _mm256_alignr_epi8(_mm256_permute2x128_si256(x, x, 0x81), x, 8);
    return _mm256_or_si256(_mm256_srli_epi64(x, 1), _mm256_slli_epi64(carry, 63));
}

struct LineSums {
    __m256i s0, s1, t0, t1;
};

TIVLA_AVX2_INLINE LineSums sumLine(__m256i x) {
    const __m256i up = shiftUp(x);
    const __m256i down = shiftDown(x);
    const __m256i t0 = _mm256_xor_si256(up, down);
    const __m256i t1 = _mm256_and_si256(up, down);
    return {_mm256_xor_si256(t0, x), _mm256_or_si256(t1, _mm256_and_si256(x, t0)), t0, t1};
}

// See lifeRule in the scalar kernel.
TIVLA_AVX2_INLINE __m256i lifeRule(const LineSums& a, const LineSums& m, const LineSums& b,
                                   __m256i alive) {
    const __m256i at = _mm256_xor_si256(a.s0, m.t0);
    const __m256i z0 = _mm256_xor_si256(at, b.s0);
    const __m256i c0 = _mm256_or_si256(_mm256_and_si256(a.s0, m.t0), _mm256_and_si256(at, b.s0));
    const __m256i ab = _mm256_xor_si256(a.s1, m.t1);
    const __m256i p = _mm256_xor_si256(ab, b.s1);
    const __m256i q = _mm256_or_si256(_mm256_and_si256(a.s1, m.t1), _mm256_and_si256(ab, b.s1));
    return _mm256_and_si256(_mm256_andnot_si256(q, _mm256_xor_si256(p, c0)),
                            _mm256_or_si256(z0, alive));
}

TIVLA_AVX2 void generations(BitBoard& bits, int count, std::int32_t* populations) {
    const int n = bits.size;
    const __m256i rule = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bits.boardMask));
    auto lineAt = [&bits](int c) { return reinterpret_cast<__m256i*>(bits.line(c)); };
    for (int g = 0; g < count; ++g) {
        std::uint64_t edgeLine[BitBoard::kWords];
        std::uint64_t edgeRow[BitBoard::kWords] = {};
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(edgeLine), _mm256_load_si256(lineAt(n - 1)));
        const __m256i zero = _mm256_setzero_si256();
        LineSums above{zero, zero, zero, zero};
        LineSums middle = sumLine(_mm256_load_si256(lineAt(0)));
        std::int64_t population = 0;
        for (int c = 0; c < n; ++c) {
            std::uint64_t* words = bits.line(c);
            const __m256i x = _mm256_load_si256(lineAt(c));
            const LineSums below = sumLine(_mm256_load_si256(lineAt(c + 1)));
            edgeRow[c / 64] |= ((words[bits.edgeWord] >> bits.edgeShift) & 1) << (c % 64);
            const __m256i next = lifeRule(above, middle, below, x);
            // Row N's marker (outside `rule`) keeps its old value.
            _mm256_store_si256(lineAt(c), _mm256_or_si256(_mm256_and_si256(next, rule),
                                                          _mm256_andnot_si256(rule, x)));
            population += _mm_popcnt_u64(words[0]) + _mm_popcnt_u64(words[1]) +
                          _mm_popcnt_u64(words[2]) + _mm_popcnt_u64(words[3]);
            above = middle;
            middle = below;
        }
        populations[g] = static_cast<std::int32_t>(population);
        bits.recordEdges(edgeLine, edgeRow);
    }
}

} // namespace

void avx2Generations(BitBoard& bits, int count, std::int32_t* populations) {
    generations(bits, count, populations);
}

} // namespace tivla

#else

namespace tivla {

// Never chosen: batchKernelAvailable says no on other processors.
void avx2Generations(BitBoard& bits, int count, std::int32_t* populations) {
    scalarGenerations(bits, count, populations);
}

} // namespace tivla

#endif
