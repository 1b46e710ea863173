// Plaintext (.cells): "!" comment lines, then rows of "." and "O" ("*" too).
#include "PatternCells.h"
#include "PatternReader.h"
#include "PatternText.h"

#include <algorithm>

namespace tivla {

PatternRead readPlaintext(std::istream& in) {
    PatternText text(in);
    PatternCells cells;
    PatternComments comments;
    int rows = 0;
    int width = 0;
    while (text.peek() >= 0) {
        if (text.peek() == '!') {
            text.get();
            comments.readPlaintextLine(text);
            continue;
        }
        if (rows == kMaxPatternSide) {
            return {std::nullopt,
                    patternRefusal(text.line(),
                                   "в узоре больше " + std::to_string(kMaxPatternSide) + " рядов")};
        }
        int length = 0;
        const auto error = readCellRow(
            text, "O*", "в узоре plaintext мёртвая клетка пишется «.», живая «O»",
            [&](int x) {
                // Rows and their lengths are limited to 200 already: every cell fits.
                cells.add(x, rows);
                return std::optional<FileError>();
            },
            length);
        if (error) {
            return {std::nullopt, error};
        }
        width = std::max(width, length);
        ++rows;
    }
    if (text.error()) {
        return {std::nullopt, text.error()};
    }
    Pattern pattern = cells.pattern(0, 0, width, rows);
    pattern.comments = std::move(comments);
    return {std::move(pattern), std::nullopt};
}

} // namespace tivla
