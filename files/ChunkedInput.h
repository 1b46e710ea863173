// A stream read through one fixed buffer, refilled a chunk at a time: a file of any size costs
// the same memory, and a read error keeps the errno the stream buffer reported.
#pragma once

#include "FileError.h"

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>

namespace tivla {

// The shared input of the board-file and pattern readers, which scan buffer_ between
// position_ and filled_ themselves.
class ChunkedInput {
public:
    ChunkedInput(const ChunkedInput&) = delete;
    ChunkedInput& operator=(const ChunkedInput&) = delete;

    // A read error of the input; it ends the input as its end would.
    const std::optional<FileError>& error() const { return error_; }

protected:
    explicit ChunkedInput(std::istream& in);
    ~ChunkedInput();

    // The next byte without consuming it, or -1 at the end of the input or after a read error.
    // Inline: the readers call it for every byte of files of many megabytes.
    int peek() {
        if (position_ < filled_) {
            return static_cast<unsigned char>(buffer_[position_]);
        }
        return refill() ? static_cast<unsigned char>(buffer_[position_]) : -1;
    }
    // Reads the next chunk to the start of the buffer; false at the end or after a failure.
    bool refill();

private:
    std::istream& in_;

protected:
    std::unique_ptr<char[]> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool atEnd_ = false;
    std::optional<FileError> error_;
};

// Reads up to size bytes of in into buffer; 0 at the end of the input or on a failure, which
// then lands in error with the errno the stream buffer reported.
std::size_t readChunk(std::istream& in, char* buffer, std::size_t size,
                      std::optional<FileError>& error);

} // namespace tivla
