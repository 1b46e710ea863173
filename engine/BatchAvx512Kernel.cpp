// The AVX-512 batch kernel: 512-bit registers holding two, four or eight lines, the adder
// network in three-input logic instructions, word-crossing shifts in one concatenating shift,
// and a vector popcount. Only the code here is built for AVX-512; callers check the processor.
#include "BatchKernel.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

#if !defined(__clang__)
// GCC 12's AVX-512 intrinsics pass a deliberately undefined vector that its own warnings flag.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <immintrin.h>

// The standard headers the slot loop uses come first, so that none of them is built for the
// wide instruction set.
#include <bit>
#include <cstdint>
#include <cstring>

// Everything below, the shared slot loop included, is built for AVX-512.
#if defined(__clang__)
#pragma clang attribute push(                                                                      \
    __attribute__((target("avx512f,avx512vl,avx512vbmi2,avx512vpopcntdq,bmi2"))),                  \
    apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512vl,avx512vbmi2,avx512vpopcntdq,bmi2")
#endif

#include "BatchSlotKernel.h"

namespace tivla {
namespace {

// Truth tables of vpternlog over inputs (a, b, c) = (0xF0, 0xCC, 0xAA).
constexpr int kXor3 = 0x96;
constexpr int kMajority = 0xE8;
constexpr int kNotAAndBXorC = 0x06;
constexpr int kAAndBOrC = 0xE0;
constexpr int kBThenCElseA = 0xB8;

template <int W> struct Avx512Lanes {
    using Reg = __m512i;
    static constexpr int kLineWords = W;
    static constexpr int kRegisterWords = 8;
    static constexpr int kLanes = kRegisterWords / W;

    // Three-line sums (s) and the two-line sum beside the cell (t), bit-sliced.
    struct Sums {
        Reg s0, s1, t0, t1;
    };
    struct Outer {
        Reg s0, s1;
    };
    using Popcount = Reg;
    // The words of the lanes that hold board lines.
    using Mask = __mmask8;
    struct Edge {
        Reg probe;
        std::uint32_t lanes;
    };

    static Reg load(const std::uint64_t* p) { return _mm512_load_si512(p); }
    static void store(std::uint64_t* p, Reg v) { _mm512_store_si512(p, v); }

    // Word mask of the lanes in `lanes`.
    static __mmask8 wordMask(int lanes) {
        unsigned mask = 0;
        for (int j = 0; j < kLanes; ++j) {
            if ((lanes >> j) & 1) {
                mask |= ((1u << W) - 1) << (j * W);
            }
        }
        return static_cast<__mmask8>(mask);
    }

    // Bit i takes bit i - 1 within each line.
    static Reg shiftUp(Reg x) {
        if constexpr (W == 1) {
            return _mm512_slli_epi64(x, 1);
        } else {
            // Each word's lower neighbour within the line, zero for the line's first word.
            const Reg carry = _mm512_maskz_alignr_epi64(wordsBut(0), x, x, 7);
            return _mm512_shldi_epi64(x, carry, 1);
        }
    }

    // Bit i takes bit i + 1 within each line.
    static Reg shiftDown(Reg x) {
        if constexpr (W == 1) {
            return _mm512_srli_epi64(x, 1);
        } else {
            const Reg carry = _mm512_maskz_alignr_epi64(wordsBut(W - 1), x, x, 1);
            return _mm512_shrdi_epi64(x, carry, 1);
        }
    }

    // Every word of each line except word `skipped`.
    static constexpr __mmask8 wordsBut(int skipped) {
        unsigned mask = 0;
        for (int j = 0; j < kLanes; ++j) {
            mask |= 1u << (j * W + skipped);
        }
        return static_cast<__mmask8>(~mask);
    }

    static Sums sums(Reg x) {
        const Reg up = shiftUp(x);
        const Reg down = shiftDown(x);
        return {_mm512_ternarylogic_epi64(up, x, down, kXor3),
                _mm512_ternarylogic_epi64(up, x, down, kMajority), _mm512_xor_si512(up, down),
                _mm512_and_si512(up, down)};
    }

    static Outer outer(const Sums& s) { return {s.s0, s.s1}; }

    // Lane j takes lane j - 1; lane 0 gets nothing.
    static Outer laneUp(const Sums& s) {
        const Reg zero = _mm512_setzero_si512();
        return {_mm512_alignr_epi64(s.s0, zero, kRegisterWords - W),
                _mm512_alignr_epi64(s.s1, zero, kRegisterWords - W)};
    }

    // Lane j takes lane j + 1; the last lane gets nothing.
    static Outer laneDown(const Sums& s) {
        const Reg zero = _mm512_setzero_si512();
        return {_mm512_alignr_epi64(zero, s.s0, W), _mm512_alignr_epi64(zero, s.s1, W)};
    }

    // See lifeRule in the scalar kernel.
    static Reg rule(const Outer& a, const Sums& m, const Outer& b, Reg alive) {
        const Reg z0 = _mm512_ternarylogic_epi64(a.s0, m.t0, b.s0, kXor3);
        const Reg c0 = _mm512_ternarylogic_epi64(a.s0, m.t0, b.s0, kMajority);
        const Reg p = _mm512_ternarylogic_epi64(a.s1, m.t1, b.s1, kXor3);
        const Reg q = _mm512_ternarylogic_epi64(a.s1, m.t1, b.s1, kMajority);
        const Reg twoOrThree = _mm512_ternarylogic_epi64(q, p, c0, kNotAAndBXorC);
        return _mm512_ternarylogic_epi64(twoOrThree, z0, alive, kAAndBOrC);
    }

    static Mask liveMask(int lanes) { return wordMask(lanes); }

    // The rule's result where `rule` is set in a live lane, the old bit elsewhere.
    static Reg apply(Reg rule, Mask live, Reg alive, Reg x) {
        return _mm512_mask_ternarylogic_epi64(x, live, rule, alive, kBThenCElseA);
    }

    static Reg broadcastLine(const std::uint64_t* words) {
        if constexpr (W == 1) {
            return _mm512_set1_epi64(static_cast<long long>(words[0]));
        } else if constexpr (W == 2) {
            return _mm512_broadcast_i32x4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(words)));
        } else {
            return _mm512_broadcast_i64x4(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words)));
        }
    }

    static void count(Popcount& total, Reg next, const std::uint64_t*, Mask live) {
        total = _mm512_mask_add_epi64(total, live, total, _mm512_popcnt_epi64(next));
    }

    static std::int32_t total(Popcount counted) {
        return static_cast<std::int32_t>(_mm512_reduce_add_epi64(counted));
    }

    static Edge edgeProbe(int edgeWord, int edgeShift) {
        std::uint32_t lanes = 0;
        for (int j = 0; j < kLanes; ++j) {
            lanes |= 1u << (j * W + edgeWord);
        }
        return {_mm512_set1_epi64(static_cast<long long>(1ULL << edgeShift)), lanes};
    }

    // Bit j: row N-1 of lane j's line.
    static std::uint64_t edgeBits(Reg x, const Edge& edge) {
        return _pext_u32(_mm512_test_epi64_mask(x, edge.probe), edge.lanes);
    }
};

template <typename Lanes> void run(BitBoard& bits, int count, std::int32_t* populations) {
    SlotKernel<Lanes> kernel(bits);
    kernel.run(count, populations);
}

} // namespace

void avx512Generations(BitBoard& bits, int count, std::int32_t* populations) {
    switch (bits.words) {
    case 1:
        run<Avx512Lanes<1>>(bits, count, populations);
        break;
    case 2:
        run<Avx512Lanes<2>>(bits, count, populations);
        break;
    default:
        run<Avx512Lanes<4>>(bits, count, populations);
        break;
    }
}

} // namespace tivla

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else

namespace tivla {

// Never chosen: batchKernelAvailable says no on other processors.
void avx512Generations(BitBoard& bits, int count, std::int32_t* populations) {
    scalarGenerations(bits, count, populations);
}

} // namespace tivla

#endif
