// Opening a board file for reading, with the open failure told by its error number.
#pragma once

#include "FileError.h"

#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace tivla {

// A board file opened for readBoard. std::ifstream forgets why an open failed; this keeps the
// errno, refuses directories (which would otherwise read as an empty board) and passes read
// errors on to readBoard with their errno.
class BoardFileInput {
public:
    explicit BoardFileInput(const std::string& path);
    ~BoardFileInput();
    BoardFileInput(const BoardFileInput&) = delete;
    BoardFileInput& operator=(const BoardFileInput&) = delete;

    bool isOpen() const { return !openError_.has_value(); }
    // Why the file could not be opened: 2 for a missing file, 5 for a directory or no access...
    const std::optional<FileError>& openError() const { return openError_; }
    // The file's contents; a stream in the failed state when the open failed.
    std::istream& stream() { return stream_; }

private:
    class ReadBuffer;
    std::unique_ptr<ReadBuffer> buffer_;
    std::istream stream_;
    std::optional<FileError> openError_;
};

} // namespace tivla
