// Saving a board file without ever leaving a half-written file in place of a good one.
#pragma once

#include "FileError.h"
#include "engine/Board.h"

#include <optional>
#include <string>
#include <string_view>

namespace tivla {

// Writes the board in the board-file format to path through saveFileAtomically (see
// AtomicSave.h for what it replaces and what it refuses). Returns the error of the first
// failing step, nothing on success.
std::optional<FileError> saveBoardFile(const std::string& path, const Board& board);

// The same replacement for any bytes, its failure as the runtime error users know.
std::optional<FileError> replaceFileAtomically(const std::string& path, std::string_view bytes);

} // namespace tivla
