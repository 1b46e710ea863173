// Range maxima over a growing list of values, so a chart can paint a million points per frame.
#include "BlockMaxima.h"

#include <algorithm>

namespace tivla {

void BlockMaxima::appended(const std::vector<std::int32_t>& values) {
    for (std::size_t level = 0; below(values, level).size() % kFanout == 0; ++level) {
        if (level == levels_.size()) {
            levels_.emplace_back();
        }
        const std::vector<std::int32_t>& block = below(values, level);
        levels_[level].push_back(*std::max_element(block.end() - kFanout, block.end()));
    }
}

void BlockMaxima::truncated(const std::vector<std::int32_t>& values) {
    // Every complete block below the new end is still what it was.
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        levels_[level].resize(
            std::min(levels_[level].size(), below(values, level).size() / kFanout));
    }
}

std::size_t BlockMaxima::memoryUsed() const {
    std::size_t bytes = levels_.capacity() * sizeof(levels_[0]);
    for (const auto& level : levels_) {
        bytes += level.capacity() * sizeof(std::int32_t);
    }
    return bytes;
}

void BlockMaxima::rebuild(const std::vector<std::int32_t>& values) {
    clear();
    for (std::size_t level = 0; below(values, level).size() >= kFanout; ++level) {
        if (level == levels_.size()) {
            levels_.emplace_back();
        }
        const std::vector<std::int32_t>& blocks = below(values, level);
        for (std::size_t start = 0; start + kFanout <= blocks.size(); start += kFanout) {
            const auto block = blocks.begin() + static_cast<std::ptrdiff_t>(start);
            levels_[level].push_back(*std::max_element(block, block + kFanout));
        }
    }
}

const std::vector<std::int32_t>& BlockMaxima::below(const std::vector<std::int32_t>& values,
                                                    std::size_t level) const {
    return level == 0 ? values : levels_[level - 1];
}

void BlockMaxima::clear() {
    // Keep the buffers: the chart refills after every clear.
    for (auto& level : levels_) {
        level.clear();
    }
}

std::int32_t BlockMaxima::maximum(const std::vector<std::int32_t>& values, std::size_t first,
                                  std::size_t last) const {
    std::int32_t result = values[first];
    const std::vector<std::int32_t>* current = &values;
    std::size_t level = 0;
    while (true) {
        const bool canClimb = level < levels_.size() && !levels_[level].empty();
        if (canClimb) {
            // Peel the partial blocks off both ends, then continue one level up.
            while (first <= last && first % kFanout != 0) {
                result = std::max(result, (*current)[first++]);
            }
            while (first <= last && (last + 1) % kFanout != 0) {
                result = std::max(result, (*current)[last]);
                if (last == 0) {
                    return result;
                }
                --last;
            }
            if (first > last) {
                return result;
            }
            first /= kFanout;
            last = (last + 1) / kFanout - 1;
            current = &levels_[level];
            ++level;
        } else {
            for (std::size_t i = first; i <= last; ++i) {
                result = std::max(result, (*current)[i]);
            }
            return result;
        }
    }
}

} // namespace tivla
