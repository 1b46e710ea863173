// The AVX-512 batch kernel: one 256-bit register a line, the adder network in three-input
// logic instructions, word-crossing shifts in one concatenating shift, and a vector popcount.
// Only the functions here are built for AVX-512; callers check the processor first.
#include "BatchKernel.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

#include <immintrin.h>

#define TIVLA_AVX512 __attribute__((target("avx512f,avx512vl,avx512vbmi2,avx512vpopcntdq")))
#define TIVLA_AVX512_INLINE                                                                        \
    __attribute__((target("avx512f,avx512vl,avx512vbmi2,avx512vpopcntdq"), always_inline)) inline

namespace tivla {
namespace {

// Truth tables of vpternlog over inputs (a, b, c) = (0xF0, 0xCC, 0xAA).
constexpr int kXor3 = 0x96;
constexpr int kMajority = 0xE8;
constexpr int kNotAAndBXorC = 0x06;
constexpr int kAAndBOrC = 0xE0;
constexpr int kAThenBElseC = 0xCA;

// Bit i takes bit i - 1.
TIVLA_AVX512_INLINE __m256i shiftUp(__m256i x) {
    const __m256i carry = _mm256_alignr_epi64(x, _mm256_setzero_si256(), 3); // [0, x0, x1, x2]
    return _mm256_shldi_epi64(x, carry, 1);
}

// Bit i takes bit i + 1.
TIVLA_AVX512_INLINE __m256i shiftDown(__m256i x) {
    const __m256i carry = _mm256_alignr_epi64(_mm256_setzero_si256(), x, 1); // [x1, x2, x3, 0]
    return _mm256_shrdi_epi64(x, carry, 1);
}

struct LineSums {
    __m256i s0, s1, t0, t1;
};

TIVLA_AVX512_INLINE LineSums sumLine(__m256i x) {
    const __m256i up = shiftUp(x);
    const __m256i down = shiftDown(x);
    return {_mm256_ternarylogic_epi64(up, x, down, kXor3),
            _mm256_ternarylogic_epi64(up, x, down, kMajority), _mm256_xor_si256(up, down),
            _mm256_and_si256(up, down)};
}

// See lifeRule in the scalar kernel.
TIVLA_AVX512_INLINE __m256i lifeRule(const LineSums& a, const LineSums& m, const LineSums& b,
                                     __m256i alive) {
    const __m256i z0 = _mm256_ternarylogic_epi64(a.s0, m.t0, b.s0, kXor3);
    const __m256i c0 = _mm256_ternarylogic_epi64(a.s0, m.t0, b.s0, kMajority);
    const __m256i p = _mm256_ternarylogic_epi64(a.s1, m.t1, b.s1, kXor3);
    const __m256i q = _mm256_ternarylogic_epi64(a.s1, m.t1, b.s1, kMajority);
    const __m256i twoOrThree = _mm256_ternarylogic_epi64(q, p, c0, kNotAAndBXorC);
    return _mm256_ternarylogic_epi64(twoOrThree, z0, alive, kAAndBOrC);
}

TIVLA_AVX512 void generations(BitBoard& bits, int count, std::int32_t* populations) {
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
        __m256i population = zero;
        for (int c = 0; c < n; ++c) {
            const std::uint64_t* words = bits.line(c);
            const __m256i x = _mm256_load_si256(lineAt(c));
            const LineSums below = sumLine(_mm256_load_si256(lineAt(c + 1)));
            edgeRow[c / 64] |= ((words[bits.edgeWord] >> bits.edgeShift) & 1) << (c % 64);
            // Row N's marker (outside `rule`) keeps its old value.
            const __m256i next =
                _mm256_ternarylogic_epi64(rule, lifeRule(above, middle, below, x), x, kAThenBElseC);
            _mm256_store_si256(lineAt(c), next);
            population = _mm256_add_epi64(population, _mm256_popcnt_epi64(next));
            above = middle;
            middle = below;
        }
        const __m128i halves = _mm_add_epi64(_mm256_castsi256_si128(population),
                                             _mm256_extracti128_si256(population, 1));
        populations[g] =
            static_cast<std::int32_t>(_mm_cvtsi128_si64(halves) + _mm_extract_epi64(halves, 1));
        bits.recordEdges(edgeLine, edgeRow);
    }
}

} // namespace

void avx512Generations(BitBoard& bits, int count, std::int32_t* populations) {
    generations(bits, count, populations);
}

} // namespace tivla

#else

namespace tivla {

// Never chosen: batchKernelAvailable says no on other processors.
void avx512Generations(BitBoard& bits, int count, std::int32_t* populations) {
    scalarGenerations(bits, count, populations);
}

} // namespace tivla

#endif
