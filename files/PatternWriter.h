// Writing the board as a pattern: RLE and plaintext, for the whole N x N board.
#pragma once

#include "FileError.h"
#include "PatternFormat.h"
#include "engine/Board.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tivla {

// What the comment lines of a saved pattern tell: its name and the generation it shows.
struct PatternNotes {
    std::string name;
    std::int32_t generation = 0;
};

// RLE: "#N" and "#C" lines, the header "x = N, y = N, rule = B3/S23" for the whole board (so
// that the pattern opens at the same places on a board of its size), then the rows' runs with
// dead cells at a row's end left out, runs never split, lines of at most 70 characters, "!".
std::string rleText(const Board& board, const PatternNotes& notes);

// Plaintext: "!Name:" and a comment line, then N full rows of "." and "O", so that the box
// is N x N again when the file is read.
std::string plaintextText(const Board& board, const PatternNotes& notes);

// The bytes of the board in the format, the board file included; nothing for Life 1.06 and
// 1.05, which Тивла only reads.
std::optional<std::string> textInFormat(PatternFormat format, const Board& board,
                                        const PatternNotes& notes);

// The refusal of a save in a format Тивла does not write.
FileError unwritableFormatError();

// The longest line of an RLE file, as the format asks.
inline constexpr std::size_t kRleLineLength = 70;

} // namespace tivla
