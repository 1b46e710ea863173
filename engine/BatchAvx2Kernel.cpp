// The AVX2 batch kernel: 256-bit registers holding one, two or four lines, the same adder
// network as the scalar kernel. Only the code here is built for AVX2; callers check the
// processor first.
#include "BatchKernel.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

#include <immintrin.h>

// The standard headers the slot loop uses come first, so that none of them is built for the
// wide instruction set.
#include <bit>
#include <cstdint>
#include <cstring>

// Everything below, the shared slot loop included, is built for AVX2.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt")
#endif

#include "BatchSlotKernel.h"

namespace tivla {
namespace {

template <int W> struct Avx2Lanes {
    using Reg = __m256i;
    static constexpr int kLineWords = W;
    static constexpr int kRegisterWords = 4;
    static constexpr int kLanes = kRegisterWords / W;
    static constexpr int kAllWords = (1 << kRegisterWords) - 1;

    // Three-line sums (s) and the two-line sum beside the cell (t), bit-sliced.
    struct Sums {
        Reg s0, s1, t0, t1;
    };
    struct Outer {
        Reg s0, s1;
    };
    using Popcount = std::int64_t;
    // The words of the lanes that hold board lines, as bits.
    using Mask = int;
    struct Edge {
        __m128i shift;
        int edgeWord;
    };

    static Reg load(const std::uint64_t* p) {
        return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
    }
    static void store(std::uint64_t* p, Reg v) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p), v);
    }

    // Words [0, x0, x1, x2].
    static Reg wordsUp(Reg x) {
        return _mm256_alignr_epi8(x, _mm256_permute2x128_si256(x, x, 0x08), 8);
    }
    // Words [x1, x2, x3, 0].
    static Reg wordsDown(Reg x) {
        return _mm256_alignr_epi8(_mm256_permute2x128_si256(x, x, 0x81), x, 8);
    }

    // Bit i takes bit i - 1 within each line.
    static Reg shiftUp(Reg x) {
        const Reg shifted = _mm256_slli_epi64(x, 1);
        if constexpr (W == 1) {
            return shifted;
        } else if constexpr (W == 2) {
            return _mm256_or_si256(shifted, _mm256_srli_epi64(_mm256_bslli_epi128(x, 8), 63));
        } else {
            return _mm256_or_si256(shifted, _mm256_srli_epi64(wordsUp(x), 63));
        }
    }

    // Bit i takes bit i + 1 within each line.
    static Reg shiftDown(Reg x) {
        const Reg shifted = _mm256_srli_epi64(x, 1);
        if constexpr (W == 1) {
            return shifted;
        } else if constexpr (W == 2) {
            return _mm256_or_si256(shifted, _mm256_slli_epi64(_mm256_bsrli_epi128(x, 8), 63));
        } else {
            return _mm256_or_si256(shifted, _mm256_slli_epi64(wordsDown(x), 63));
        }
    }

    static Sums sums(Reg x) {
        const Reg up = shiftUp(x);
        const Reg down = shiftDown(x);
        const Reg t0 = _mm256_xor_si256(up, down);
        const Reg t1 = _mm256_and_si256(up, down);
        return {_mm256_xor_si256(t0, x), _mm256_or_si256(t1, _mm256_and_si256(x, t0)), t0, t1};
    }

    static Outer outer(const Sums& s) { return {s.s0, s.s1}; }

    // Lane j takes lane j - 1; lane 0 gets nothing.
    static Reg laneUp(Reg x) {
        if constexpr (W == 1) {
            return wordsUp(x);
        } else if constexpr (W == 2) {
            return _mm256_permute2x128_si256(x, x, 0x08);
        } else {
            return _mm256_setzero_si256();
        }
    }
    static Outer laneUp(const Sums& s) { return {laneUp(s.s0), laneUp(s.s1)}; }

    // Lane j takes lane j + 1; the last lane gets nothing.
    static Reg laneDown(Reg x) {
        if constexpr (W == 1) {
            return wordsDown(x);
        } else if constexpr (W == 2) {
            return _mm256_permute2x128_si256(x, x, 0x81);
        } else {
            return _mm256_setzero_si256();
        }
    }
    static Outer laneDown(const Sums& s) { return {laneDown(s.s0), laneDown(s.s1)}; }

    // See lifeRule in the scalar kernel.
    static Reg rule(const Outer& a, const Sums& m, const Outer& b, Reg alive) {
        const Reg at = _mm256_xor_si256(a.s0, m.t0);
        const Reg z0 = _mm256_xor_si256(at, b.s0);
        const Reg c0 = _mm256_or_si256(_mm256_and_si256(a.s0, m.t0), _mm256_and_si256(at, b.s0));
        const Reg ab = _mm256_xor_si256(a.s1, m.t1);
        const Reg p = _mm256_xor_si256(ab, b.s1);
        const Reg q = _mm256_or_si256(_mm256_and_si256(a.s1, m.t1), _mm256_and_si256(ab, b.s1));
        return _mm256_and_si256(_mm256_andnot_si256(q, _mm256_xor_si256(p, c0)),
                                _mm256_or_si256(z0, alive));
    }

    static Mask liveMask(int lanes) {
        Mask words = 0;
        for (int j = 0; j < kLanes; ++j) {
            if ((lanes >> j) & 1) {
                words |= ((1 << W) - 1) << (j * W);
            }
        }
        return words;
    }

    // The rule's result where `rule` is set in a live lane, the old bit elsewhere.
    static Reg apply(Reg rule, Mask live, Reg alive, Reg x) {
        if (live != kAllWords) {
            const Reg words = _mm256_set_epi64x(-((live >> 3) & 1), -((live >> 2) & 1),
                                                -((live >> 1) & 1), -(live & 1));
            rule = _mm256_and_si256(rule, words);
        }
        return _mm256_or_si256(_mm256_and_si256(rule, alive), _mm256_andnot_si256(rule, x));
    }

    static Reg broadcastLine(const std::uint64_t* words) {
        if constexpr (W == 1) {
            return _mm256_set1_epi64x(static_cast<long long>(words[0]));
        } else if constexpr (W == 2) {
            return _mm256_broadcastsi128_si256(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(words)));
        } else {
            return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words));
        }
    }

    // Counted from the stored words: AVX2 has no vector popcount.
    static void count(Popcount& total, Reg, const std::uint64_t* stored, Mask live) {
        if (live == kAllWords) {
            total += _mm_popcnt_u64(stored[0]) + _mm_popcnt_u64(stored[1]) +
                     _mm_popcnt_u64(stored[2]) + _mm_popcnt_u64(stored[3]);
            return;
        }
        for (int w = 0; w < kRegisterWords; ++w) {
            if ((live >> w) & 1) {
                total += _mm_popcnt_u64(stored[w]);
            }
        }
    }

    static std::int32_t total(Popcount counted) { return static_cast<std::int32_t>(counted); }

    static Edge edgeProbe(int edgeWord, int edgeShift) {
        return {_mm_cvtsi32_si128(63 - edgeShift), edgeWord};
    }

    // Bit j: row N-1 of lane j's line.
    static std::uint64_t edgeBits(Reg x, const Edge& edge) {
        // The top bit of each word, after the shift, is that word's bit of row N-1.
        const int words = _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_sll_epi64(x, edge.shift)));
        if constexpr (W == 1) {
            return static_cast<std::uint64_t>(words);
        } else if constexpr (W == 2) {
            return static_cast<std::uint64_t>(((words >> edge.edgeWord) & 1) |
                                              ((words >> (edge.edgeWord + 1)) & 2));
        } else {
            return static_cast<std::uint64_t>((words >> edge.edgeWord) & 1);
        }
    }
};

template <typename Lanes> void run(BitBoard& bits, int count, std::int32_t* populations) {
    SlotKernel<Lanes> kernel(bits);
    kernel.run(count, populations);
}

} // namespace

void avx2Generations(BitBoard& bits, int count, std::int32_t* populations) {
    switch (bits.words) {
    case 1:
        run<Avx2Lanes<1>>(bits, count, populations);
        break;
    case 2:
        run<Avx2Lanes<2>>(bits, count, populations);
        break;
    default:
        run<Avx2Lanes<4>>(bits, count, populations);
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
void avx2Generations(BitBoard& bits, int count, std::int32_t* populations) {
    scalarGenerations(bits, count, populations);
}

} // namespace tivla

#endif
