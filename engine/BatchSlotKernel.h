// The wide batch kernels' common loop: bit lines interleaved into vector registers, as many
// lines a register as the board's width allows. Included only by the wide kernels' sources,
// inside their target region, after everything else they include.
#pragma once

#include "BitBoard.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tivla {

// A line takes W words; a register of V::kRegisterWords words holds L = kRegisterWords / W
// lines, one a lane. With q slots (registers), lane j of slot k holds line k + j * q, so the
// line before and after one lane are the same lane of the slots before and after; only slots
// 0 and q - 1 reach into the neighbouring lane. Lines N and beyond (row N's markers, zero
// padding) sit in the last lanes, which the rule leaves alone.
//
// V, the instruction set's lanes of W = V::kLineWords words, supplies the register type, the
// line sums and the rule, the moves between lanes, the population count and the gathering of
// row N-1.
template <typename V> class SlotKernel {
public:
    using Reg = typename V::Reg;
    static constexpr int W = V::kLineWords;
    static constexpr int kRegisterWords = V::kRegisterWords;
    static constexpr int kLanes = kRegisterWords / W;
    static constexpr int kMaxSlots = (kMaxBoardSize + 1 + kLanes - 1) / kLanes;
    static constexpr int kBitsPerWord = 64;

    explicit SlotKernel(BitBoard& bits)
        : bits_(bits), n_(bits.size), q_((bits.size + kLanes) / kLanes) {
        for (int c = 0; c < kLanes * q_; ++c) {
            std::memcpy(word(c), bits.line(c), sizeof(std::uint64_t) * W);
        }
        // Lane j of slot k holds a board line while k + j * q < N.
        for (int k = 0; k < q_; ++k) {
            int lanes = 0;
            for (int j = 0; j < kLanes; ++j) {
                if (k + j * q_ < n_) {
                    lanes |= 1 << j;
                }
            }
            live_[k] = V::liveMask(lanes);
        }
        permuteHistory(true);
    }

    ~SlotKernel() {
        for (int c = 0; c < n_; ++c) {
            std::memcpy(bits_.line(c), word(c), sizeof(std::uint64_t) * W);
        }
        permuteHistory(false);
    }

    SlotKernel(const SlotKernel&) = delete;
    SlotKernel& operator=(const SlotKernel&) = delete;

    void run(int count, std::int32_t* populations) {
        const Reg rule = V::broadcastLine(bits_.boardMask);
        const typename V::Edge edge = V::edgeProbe(bits_.edgeWord, bits_.edgeShift);
        const int edgeSlot = (n_ - 1) % q_;
        const int edgeLane = (n_ - 1) / q_;
        for (int g = 0; g < count; ++g) {
            std::uint64_t edgeLine[BitBoard::kWords] = {};
            std::memcpy(edgeLine, &slots_[edgeSlot][edgeLane * W], sizeof(std::uint64_t) * W);
            std::uint64_t edgeRow[BitBoard::kWords] = {};
            typename V::Popcount population{};

            const typename V::Sums first = V::sums(V::load(slots_[0]));
            const typename V::Sums last = q_ > 1 ? V::sums(V::load(slots_[q_ - 1])) : first;
            typename V::Outer above = V::laneUp(last);
            typename V::Sums current = first;
            // One slot; returns row N-1 of its lanes' old lines.
            auto slot = [&](int k, const typename V::Outer& below) {
                const Reg x = V::load(slots_[k]);
                const Reg next = V::apply(rule, live_[k], V::rule(above, current, below, x), x);
                V::store(slots_[k], next);
                V::count(population, next, slots_[k], live_[k]);
                above = V::outer(current);
                return V::edgeBits(x, edge);
            };
            // Gathered in a register, a word of row N-1 at a time.
            for (int base = 0; base < q_ - 1; base += kSlotsPerWord) {
                const int end = base + kSlotsPerWord < q_ - 1 ? base + kSlotsPerWord : q_ - 1;
                std::uint64_t gathered = 0;
                for (int k = base; k < end; ++k) {
                    const typename V::Sums next = V::sums(V::load(slots_[k + 1]));
                    gathered |= slot(k, V::outer(next)) << (kLanes * (k - base));
                    current = next;
                }
                edgeRow[base / kSlotsPerWord] = gathered;
            }
            const int at = kLanes * (q_ - 1);
            edgeRow[at / kBitsPerWord] |= slot(q_ - 1, V::laneDown(first)) << (at % kBitsPerWord);

            populations[g] = V::total(population);
            BitBoard::addSaturating(bits_.columnHistory, edgeLine);
            BitBoard::addSaturating(rowHistory_, edgeRow);
        }
    }

private:
    static constexpr int kSlotsPerWord = kBitsPerWord / kLanes;

    std::uint64_t* word(int line) { return &slots_[line % q_][(line / q_) * W]; }

    // Row N-1's history, kept in the slots' order (bit L * k + j for line k + j * q) while
    // the kernel runs. Only set bits move: a fresh batch has none.
    void permuteHistory(bool toSlots) {
        for (int p = 0; p < BitBoard::kHistoryPlanes; ++p) {
            std::uint64_t* to = toSlots ? rowHistory_[p] : bits_.rowHistory[p];
            const std::uint64_t* from = toSlots ? bits_.rowHistory[p] : rowHistory_[p];
            std::uint64_t moved[BitBoard::kWords] = {};
            for (int w = 0; w < BitBoard::kWords; ++w) {
                for (std::uint64_t rest = from[w]; rest != 0; rest &= rest - 1) {
                    const int in = w * kBitsPerWord + std::countr_zero(rest);
                    const int line = toSlots ? in : (in % kLanes) * q_ + in / kLanes;
                    if (line >= n_) {
                        continue;
                    }
                    const int out = toSlots ? kLanes * (line % q_) + line / q_ : line;
                    moved[out / kBitsPerWord] |= std::uint64_t{1} << (out % kBitsPerWord);
                }
            }
            std::memcpy(to, moved, sizeof moved);
        }
    }

    BitBoard& bits_;
    const int n_;
    const int q_;
    typename V::Mask live_[kMaxSlots];
    // Filled by the constructor.
    alignas(64) std::uint64_t slots_[kMaxSlots][kRegisterWords];
    std::uint64_t rowHistory_[BitBoard::kHistoryPlanes][BitBoard::kWords];
};

} // namespace tivla
