// The bytes of a pattern file, read through a fixed buffer with the line number kept, and the
// wording of a pattern file's refusal.
#pragma once

#include "ChunkedInput.h"
#include "FileError.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tivla {

// A file of any size costs one buffer: comment lines and refused runs are passed over, never
// held, so a hostile file is refused in the memory of a small one.
class PatternText : public ChunkedInput {
public:
    explicit PatternText(std::istream& in) : ChunkedInput(in) {}

    // The next byte, or -1 at the end of the file or after a read error.
    using ChunkedInput::peek;

    int get() {
        const int byte = peek();
        if (byte >= 0) {
            ++position_;
            line_ += byte == '\n' ? 1 : 0;
        }
        return byte;
    }
    // Passes over the rest of the line and its line feed.
    void skipLine();
    // The rest of the line without its line feed and a carriage return before it, when it
    // holds at most maxLength bytes; false (with the line's start in out) when it is longer.
    bool readLine(std::string& out, std::size_t maxLength);
    // The line of the next byte, from 1.
    int line() const { return line_; }

private:
    int line_ = 1;
};

// The refusal of a pattern file: "Строка 3: " when a line is given, the reason (a sentence
// without its full stop), then what was kept: nothing of the file was loaded.
FileError patternRefusal(int line, const std::string& reason);

// A byte as a message names it: «x» for a printable character, otherwise its code.
std::string byteName(int byte);

// A number as written in the file, cut short when it is absurdly long.
std::string numberText(std::string_view digits);

// A decimal integer with an optional sign, as the pattern formats write their numbers. Any
// number of digits is read without overflow; inRange tells whether it lies within low to high.
struct Decimal {
    bool isNumber = false;
    bool inRange = false;
    std::int64_t value = 0;
};
Decimal parseDecimal(std::string_view text, std::int64_t low, std::int64_t high);

// One row of cells up to its line feed, for plaintext and the blocks of Life 1.05: "." is
// dead, any character of alive is alive, a CR before the line feed ends the line, anything
// else is refused with rule (how the format writes cells) as the reason. addAlive(x) places
// the live cell at x, or refuses it. length gets the row's length.
std::optional<FileError> readCellRow(PatternText& text, std::string_view alive,
                                     const std::string& rule,
                                     const std::function<std::optional<FileError>(int)>& addAlive,
                                     int& length);

// The text without the spaces and tabs around it.
std::string_view trimmed(std::string_view text);

} // namespace tivla
