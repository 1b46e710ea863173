// The size rule of pattern placement.
#include "PatternPlacement.h"

#include "engine/BoardSizes.h"

namespace tivla {

bool patternFits(const Pattern& pattern, int boardSize) {
    return pattern.width <= boardSize && pattern.height <= boardSize;
}

int boardSizeForPattern(const Pattern& pattern, int currentSize) {
    if (patternFits(pattern, currentSize)) {
        return currentSize;
    }
    for (const std::int32_t size : kBoardSizes) {
        if (patternFits(pattern, size)) {
            return size;
        }
    }
    // The readers refuse boxes past 200, the largest size.
    return kMaxBoardSize;
}

} // namespace tivla
