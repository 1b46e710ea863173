// A Life pattern read from one of the community's formats, before it is placed on the board.
#pragma once

#include "FileError.h"
#include "PatternComments.h"

#include <optional>
#include <vector>

namespace tivla {

// The largest box a pattern may have: the largest board.
inline constexpr int kMaxPatternSide = 200;

struct PatternCell {
    int x = 0; // column, from the box's left edge
    int y = 0; // row, from the box's top edge
    bool operator==(const PatternCell&) const = default;
};

// A pattern's box and its live cells inside it, each cell once, row by row, and what the file
// says of it, which only the open dialog's preview shows.
struct Pattern {
    int width = 0;
    int height = 0;
    std::vector<PatternCell> alive;
    PatternComments comments{};
};

// A pattern file's outcome: the pattern, or the refusal that says why there is none.
struct PatternRead {
    std::optional<Pattern> pattern;
    std::optional<FileError> error;
};

} // namespace tivla
