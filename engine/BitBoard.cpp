// Packing the board into bit lines and settling the counters the step leaves behind.
#include "BitBoard.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tivla {
namespace {

static_assert(kAlive != 0, "zero bytes must read as dead");

constexpr int kBitsPerWord = 64;
constexpr int kBytesPerChunk = 8;
constexpr std::uint64_t kLowBytes = 0x0101010101010101ULL;
constexpr std::uint64_t kSevenBits = 0x7F7F7F7F7F7F7F7FULL;
// Multiplying the low bits of eight bytes by this gathers them into the top byte, in order.
constexpr std::uint64_t kGatherBytes = 0x0102040810204080ULL;

// Up to eight markers as the bytes of one word, byte k for marker k; missing ones read as 0.
std::uint64_t loadMarkers(const Marker* markers, int count) {
    std::uint64_t bytes = 0;
    if (std::endian::native == std::endian::little && count == kBytesPerChunk) {
        std::memcpy(&bytes, markers, sizeof bytes);
        return bytes;
    }
    for (int k = 0; k < count; ++k) {
        bytes |= static_cast<std::uint64_t>(markers[k]) << (8 * k);
    }
    return bytes;
}

void storeMarkers(std::uint64_t bytes, int count, Marker* markers) {
    if (std::endian::native == std::endian::little && count == kBytesPerChunk) {
        std::memcpy(markers, &bytes, sizeof bytes);
        return;
    }
    for (int k = 0; k < count; ++k) {
        markers[k] = static_cast<Marker>(bytes >> (8 * k));
    }
}

// Bytes equal to kAlive become 1, all others 0.
std::uint64_t aliveBytes(std::uint64_t bytes) {
    const std::uint64_t differs = bytes ^ (kLowBytes * kAlive);
    // The top bit of each byte says whether the byte was zero (no carries cross bytes).
    const std::uint64_t zero = ~(((differs & kSevenBits) + kSevenBits) | differs | kSevenBits);
    return zero >> 7;
}

constexpr std::array<std::uint64_t, 256> makeMarkerBytes() {
    std::array<std::uint64_t, 256> table{};
    for (int bits = 0; bits < 256; ++bits) {
        std::uint64_t bytes = 0;
        for (int k = 0; k < kBytesPerChunk; ++k) {
            const Marker marker = ((bits >> k) & 1) != 0 ? kAlive : kDead;
            bytes |= static_cast<std::uint64_t>(marker) << (8 * k);
        }
        table[static_cast<std::size_t>(bits)] = bytes;
    }
    return table;
}

// Eight bits to eight markers, as bytes in order.
constexpr std::array<std::uint64_t, 256> kMarkerBytes = makeMarkerBytes();

// Words of bits written in order, a few bits at a time, each word once.
class BitWriter {
public:
    explicit BitWriter(std::uint64_t* out) : out_(out) {}
    void put(std::uint64_t bits, int at) {
        if (at / kBitsPerWord != word_) {
            out_[word_] = current_;
            word_ = at / kBitsPerWord;
            current_ = 0;
        }
        current_ |= bits << (at % kBitsPerWord);
    }
    void finish() { out_[word_] = current_; }

private:
    std::uint64_t* out_;
    std::uint64_t current_ = 0;
    int word_ = 0;
};

// Cells of rows 0..lastRow of one column into bits; returns how many are alive.
int packColumn(const Marker* column, int lastRow, std::uint64_t* out) {
    const int rows = lastRow + 1;
    BitWriter writer(out);
    int alive = 0;
    int base = 0;
#if defined(__SSE2__)
    constexpr int kVectorBytes = 16;
    const __m128i aliveMarkers = _mm_set1_epi8(static_cast<char>(kAlive));
    // Each byte counts its column's live cells, at most 13 of them.
    __m128i counts = _mm_setzero_si128();
    for (; base + kVectorBytes <= rows; base += kVectorBytes) {
        const __m128i markers = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + base));
        const __m128i live = _mm_cmpeq_epi8(markers, aliveMarkers);
        counts = _mm_sub_epi8(counts, live);
        writer.put(static_cast<std::uint32_t>(_mm_movemask_epi8(live)), base);
    }
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    alive = _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums));
#endif
    // Bytes of 0 or 1 summed over at most 26 chunks stay below 256: one byte each.
    std::uint64_t byteSums = 0;
    for (; base < rows; base += kBytesPerChunk) {
        const std::uint64_t ones =
            aliveBytes(loadMarkers(column + base, std::min(kBytesPerChunk, rows - base)));
        byteSums += ones;
        writer.put((ones * kGatherBytes) >> 56, base);
    }
    writer.finish();
    return alive + static_cast<int>((byteSums * kLowBytes) >> 56);
}

void unpackColumn(const std::uint64_t* bits, int rows, Marker* column) {
    int base = 0;
#if defined(__SSE2__)
    constexpr int kVectorBytes = 16;
    static_assert(kDead == 0, "unset bits become zero bytes");
    // Byte i tests bit i % 8 of its byte of the chunk.
    const __m128i select = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    const __m128i aliveMarkers = _mm_set1_epi8(static_cast<char>(kAlive));
    for (; base + kVectorBytes <= rows; base += kVectorBytes) {
        const auto chunk =
            static_cast<int>((bits[base / kBitsPerWord] >> (base % kBitsPerWord)) & 0xFFFF);
        // Low byte of the chunk into bytes 0-7, high byte into 8-15.
        __m128i spread = _mm_cvtsi32_si128(chunk);
        spread = _mm_unpacklo_epi8(spread, spread);
        spread = _mm_unpacklo_epi16(spread, spread);
        spread = _mm_unpacklo_epi32(spread, spread);
        const __m128i set = _mm_cmpeq_epi8(_mm_and_si128(spread, select), select);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(column + base),
                         _mm_and_si128(set, aliveMarkers));
    }
#endif
    for (; base < rows; base += kBytesPerChunk) {
        const auto chunk = (bits[base / kBitsPerWord] >> (base % kBitsPerWord)) & 0xFF;
        storeMarkers(kMarkerBytes[chunk], std::min(kBytesPerChunk, rows - base), column + base);
    }
}

int alive(const Board& board, int column, int row) {
    return board.Cells[column][row] == kAlive;
}

} // namespace

void BitBoard::load(const Board& board) {
    const int n = board.BoardSize;
    size = n;
    words = n / kBitsPerWord + 1;
    edgeWord = (n - 1) / kBitsPerWord;
    edgeShift = (n - 1) % kBitsPerWord;
    std::memset(lines, 0, sizeof lines);
    std::memset(columnHistory, 0, sizeof columnHistory);
    std::memset(rowHistory, 0, sizeof rowHistory);
    for (int w = 0; w < kWords; ++w) {
        const int below = std::clamp(n - w * kBitsPerWord, 0, kBitsPerWord);
        boardMask[w] = below == kBitsPerWord ? ~0ULL : (1ULL << below) - 1;
    }

    // The step reads rows and columns 0..N+1.
    std::int32_t everything = 0;
    boardPopulation = 0;
    for (int c = 0; c <= n; ++c) {
        const int inLine = packColumn(board.Cells[c], n, line(c));
        if (c < n) {
            boardPopulation += inLine;
        }
        everything += inLine + alive(board, c, n + 1);
    }
    for (int r = 0; r <= n + 1; ++r) {
        everything += alive(board, n + 1, r);
    }
    fixedPopulation = everything - boardPopulation;
}

void BitBoard::store(Board& board) const {
    for (int c = 0; c < size; ++c) {
        unpackColumn(line(c), size, board.Cells[c]);
    }
}

void BitBoard::settleBand(Board& board, long long steps) const {
    const int n = size;
    // Column N-1 is line N-1; row N-1 was gathered with bit c for column c.
    int columnCounts[kMaxBoardSize];
    int rowCounts[kMaxBoardSize];
    for (int k = 0; k < n; ++k) {
        columnCounts[k] = 0;
        rowCounts[k] = 0;
        for (int p = 0; p < kHistoryPlanes; ++p) {
            const int word = k / kBitsPerWord;
            const int shift = k % kBitsPerWord;
            columnCounts[k] |= static_cast<int>((columnHistory[p][word] >> shift) & 1) << p;
            rowCounts[k] |= static_cast<int>((rowHistory[p][word] >> shift) & 1) << p;
        }
    }
    // Every term is capped at the saturation, so the capped sum is the sum capped.
    const int fixedWeight = static_cast<int>(std::min<long long>(steps, kCountSaturation));
    auto weight = [&](int row, int column) {
        if (row < 0 || column < 0 || row > n + 1 || column > n + 1) {
            return 0;
        }
        if (row < n && column < n) {
            // Only the cells of row and column N-1 lie next to the band.
            return column == n - 1 ? columnCounts[row] : rowCounts[column];
        }
        return alive(board, column, row) * fixedWeight;
    };
    auto settle = [&](int row, int column) {
        int counted = 0;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                if (dr != 0 || dc != 0) {
                    counted += weight(row + dr, column + dc);
                }
            }
        }
        std::int32_t& entry = board.NeighbourCounts[row][column];
        if (entry < kCountSaturation) {
            entry = std::min(kCountSaturation, entry + counted);
        }
    };
    for (int c = 0; c <= n; ++c) {
        settle(n, c);
    }
    for (int r = 0; r < n; ++r) {
        settle(r, n);
    }
}

} // namespace tivla
