// Range maxima over a growing list of values, so a chart can paint a million points per frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tivla {

// A tree of block maxima kept beside a value list that the caller owns: level 1 holds the
// maximum of every complete block of kFanout values, level 2 of every kFanout level-1 entries,
// and so on. Only complete blocks are summarised, so appending costs O(1) amortised and a
// range query touches at most 2 * kFanout entries per level.
class BlockMaxima {
public:
    static constexpr std::size_t kFanout = 16;

    // Call after every push_back on `values`.
    void appended(const std::vector<std::int32_t>& values);
    // Call after `values` has lost elements from its end.
    void truncated(const std::vector<std::int32_t>& values);
    // Call after any other change to `values`.
    void rebuild(const std::vector<std::int32_t>& values);
    void clear();
    std::size_t memoryUsed() const;

    // The largest of values[first..last], both inclusive; first <= last < values.size().
    std::int32_t maximum(const std::vector<std::int32_t>& values, std::size_t first,
                         std::size_t last) const;

private:
    // What levels_[level] summarises. Taken afresh after levels_ grows, which moves its rows.
    const std::vector<std::int32_t>& below(const std::vector<std::int32_t>& values,
                                           std::size_t level) const;

    // levels_[k] summarises level k, where level 0 is the caller's value list.
    std::vector<std::vector<std::int32_t>> levels_;
};

} // namespace tivla
