// Saving a board file without ever leaving a half-written file in place of a good one.
#pragma once

#include "FileError.h"
#include "engine/Board.h"

#include <optional>
#include <string>
#include <string_view>

namespace tivla {

// Writes the board in the board-file format to path. The bytes go to a new file beside the
// target, are flushed to the disk and only then renamed over the target, so a failure at any
// step leaves an existing file as it was and no stray file behind. Returns the error of the
// first failing step, nothing on success.
std::optional<FileError> saveBoardFile(const std::string& path, const Board& board);

// The same replacement for any bytes.
std::optional<FileError> replaceFileAtomically(const std::string& path, std::string_view bytes);

} // namespace tivla
