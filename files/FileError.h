// The errors of board-file operations and the message-box texts they are shown with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace tivla {

// A failed board-file step. Most carry one of the classic runtime error numbers, whose texts
// users know; an operating-system error without such a number reads "I/O error <errno>"; and a
// board size the board tables cannot hold is refused with a message of its own.
class FileError {
public:
    static constexpr int kFileNotFound = 2;
    static constexpr int kInvalidFilename = 3;
    static constexpr int kTooManyOpenFiles = 4;
    static constexpr int kAccessDenied = 5;
    static constexpr int kReadBeyondEndOfFile = 100;
    static constexpr int kDiskFull = 101;
    static constexpr int kInvalidNumericInput = 106;

    // A classic runtime error; a number outside the table above reads "I/O error <number>".
    explicit FileError(int number) : kind_(Kind::Runtime), number_(number) {}

    // The runtime error an errno value stands for (ENOENT is 2, EACCES is 5, ENOSPC is 101...);
    // any other errno reads "I/O error <errno>" even where its value equals a classic number.
    static FileError fromErrno(int errorNumber);

    // The refusal of a size line outside 1 to 200.
    static FileError boardSizeOutOfRange(std::int32_t size);

    // A refusal that carries its own complete text: a pattern file that cannot be read, or a
    // format that cannot be written. The text says what is wrong and what was kept.
    static FileError refusal(std::string text);

    // The runtime error number, the errno of an unmapped system error, or 0 for a refused size
    // and a refusal.
    int number() const { return kind_ == Kind::BoardSize || kind_ == Kind::Refusal ? 0 : number_; }
    // The size a refused size line named.
    std::optional<std::int32_t> refusedBoardSize() const;

    // The error's own text, e.g. "File not found": what messages carry.
    std::string text() const;
    // text() as the two outputs show it, the full stop rule applied.
    std::string messageText() const;

    bool operator==(const FileError&) const = default;

private:
    enum class Kind { Runtime, System, BoardSize, Refusal };
    FileError(Kind kind, int number) : kind_(kind), number_(number) {}

    Kind kind_;
    int number_;
    std::string refusalText_;
};

// Appends a full stop when the text's last character sorts after "." (any letter, digit or
// non-ASCII character does), as the program's error boxes do; other texts stay as they are.
// Applied once, where a message is shown: the error box and tivla-batch's standard error.
std::string withFullStop(std::string text);

} // namespace tivla
