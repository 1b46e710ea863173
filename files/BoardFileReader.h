// Reading a board file into the board: the value-reading rule and the open command's load.
#pragma once

#include "ChunkedInput.h"
#include "FileError.h"
#include "engine/Board.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>

namespace tivla {

// Reads the values of a board file one line at a time: blanks and control characters are
// skipped, the end of the file reads as 0, a run of up to 32 characters is converted with
// parseInteger, and the rest of the line up to its line feed is passed over.
class BoardFileReader : public ChunkedInput {
public:
    explicit BoardFileReader(std::istream& in) : ChunkedInput(in) {}

    // The next value, or nothing after a failure: error() then says which.
    std::optional<std::int32_t> readValue();
    // True once the file is exhausted: every further value reads as 0.
    bool atEnd() const { return atEnd_; }

    // Characters of a value beyond this many are skipped with the rest of the line.
    static constexpr std::size_t kMaxRun = 32;
};

// The outcome of a load: no error when the file was read to its last needed cell.
struct LoadResult {
    std::optional<FileError> error;
    bool ok() const { return !error.has_value(); }
};

// Loads a board file that the caller has opened, after the caller's ClearBoard. Sets BoardSize
// from the first value; then calls applyBoardSize(), where the window fits itself to the size,
// and reads the (N + 1) x (N + 1) cells column by column, including index N, marking and
// painting (painter.PaintAliveCell(x, y)) each cell whose value is 1 the moment it is read. A
// size outside 1 to 200, or a size line that isn't a number, leaves BoardSize as it was, applies
// nothing and reads no cells. A failure among the cells ends the load there; the cells read
// before it stay alive. A file with too few cell lines is no error.
template <typename Painter, typename ApplySize>
LoadResult readBoard(std::istream& in, Board& board, Painter& painter, ApplySize&& applyBoardSize) {
    BoardFileReader reader(in);
    const std::optional<std::int32_t> size = reader.readValue();
    if (!size) {
        return {reader.error()};
    }
    if (*size < kMinBoardSize || *size > kMaxBoardSize) {
        return {FileError::boardSizeOutOfRange(*size)};
    }
    board.BoardSize = *size;
    applyBoardSize();
    const int n = *size;
    for (int x = 0; x <= n; ++x) {
        for (int y = 0; y <= n; ++y) {
            if (reader.atEnd()) {
                // Every value from here on is 0: nothing more can come alive.
                return {};
            }
            const std::optional<std::int32_t> value = reader.readValue();
            if (!value) {
                return {reader.error()};
            }
            if (*value == 1) {
                board.Cells[x][y] = kAlive;
                painter.PaintAliveCell(x, y);
            }
        }
    }
    return {};
}

} // namespace tivla
