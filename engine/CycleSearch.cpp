// Finding where a packed board repeats.
#include "CycleSearch.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tivla {
namespace {

constexpr int kStretch = 256;

std::vector<long long> primeFactors(long long value) {
    std::vector<long long> primes;
    for (long long p = 2; p * p <= value; ++p) {
        if (value % p == 0) {
            primes.push_back(p);
            while (value % p == 0) {
                value /= p;
            }
        }
    }
    if (value > 1) {
        primes.push_back(value);
    }
    return primes;
}

} // namespace

bool CycleSearch::sameCells(const BitBoard& a, const BitBoard& b) {
    const std::size_t bytes = sizeof a.lines[0] * static_cast<std::size_t>(a.size);
    return a.size == b.size && std::memcmp(a.line(0), b.line(0), bytes) == 0;
}

bool CycleSearch::sameState(const BitBoard& a, const BitBoard& b) {
    return sameCells(a, b) &&
           std::memcmp(a.columnHistory, b.columnHistory, sizeof a.columnHistory) == 0 &&
           std::memcmp(a.rowHistory, b.rowHistory, sizeof a.rowHistory) == 0;
}

void CycleSearch::advance(BitBoard& bits, long long count) const {
    std::int32_t populations[kStretch];
    while (count > 0) {
        const int stretch = static_cast<int>(std::min<long long>(kStretch, count));
        generations_(bits, stretch, populations);
        count -= stretch;
    }
}

long long CycleSearch::leastPeriod(const BitBoard& inCycle, long long multiple) const {
    // The true period divides `multiple`; strike out each prime factor while what is left still
    // brings the board back.
    long long period = multiple;
    auto probe = std::make_unique<BitBoard>();
    for (const long long prime : primeFactors(multiple)) {
        while (period % prime == 0) {
            *probe = inCycle;
            advance(*probe, period / prime);
            if (!sameCells(*probe, inCycle)) {
                break;
            }
            period /= prime;
        }
    }
    return period;
}

long long CycleSearch::cycleStart(const BitBoard& start, long long period) const {
    // Two boards `period` apart meet at the cycle's first board and stay together after it:
    // find the stretch where they meet, then the generation within it.
    auto behind = std::make_unique<BitBoard>(start);
    auto ahead = std::make_unique<BitBoard>(start);
    advance(*ahead, period);
    auto behindThen = std::make_unique<BitBoard>();
    auto aheadThen = std::make_unique<BitBoard>();
    long long first = 0;
    while (!sameCells(*behind, *ahead)) {
        *behindThen = *behind;
        *aheadThen = *ahead;
        advance(*behind, kStretch);
        advance(*ahead, kStretch);
        if (sameCells(*behind, *ahead)) {
            std::swap(behind, behindThen);
            std::swap(ahead, aheadThen);
            while (!sameCells(*behind, *ahead)) {
                advance(*behind, 1);
                advance(*ahead, 1);
                ++first;
            }
            return first;
        }
        first += kStretch;
    }
    return first;
}

std::optional<BatchCycle> CycleSearch::exactCycle(const BitBoard& start, long long limit) const {
    // Brent's search, one generation at a time: the leader runs on, the marker jumps to it at
    // every power of two, and the distance when they meet is the period. A cycle that closes
    // within `limit` is met within four times as many generations.
    auto marker = std::make_unique<BitBoard>(start);
    auto leader = std::make_unique<BitBoard>(start);
    long long power = 1;
    long long period = 1;
    long long taken = 1;
    if (limit < 1) {
        return std::nullopt;
    }
    advance(*leader, 1);
    while (!sameCells(*marker, *leader)) {
        if (taken / 4 > limit) {
            return std::nullopt;
        }
        if (power == period) {
            *marker = *leader;
            power *= 2;
            period = 0;
        }
        advance(*leader, 1);
        ++period;
        ++taken;
    }
    const long long first = cycleStart(start, period);
    if (first + period > limit) {
        return std::nullopt;
    }
    return BatchCycle{period, first};
}

} // namespace tivla
