// The size rule of pattern placement.
#include "PatternPlacement.h"

namespace tivla {

bool patternFits(const Pattern& pattern, int boardSize) {
    return pattern.width <= boardSize && pattern.height <= boardSize;
}

int boardSizeForPattern(const Pattern& pattern, int currentSize) {
    if (patternFits(pattern, currentSize)) {
        return currentSize;
    }
    for (const BoardSizeEntry& entry : kBoardSizes) {
        if (patternFits(pattern, entry.boardSize)) {
            return entry.boardSize;
        }
    }
    // The readers refuse boxes past 200, the largest size.
    return kMaxBoardSize;
}

} // namespace tivla
