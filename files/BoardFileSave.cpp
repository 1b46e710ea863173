// The atomic save with its failure turned into a runtime error.
#include "BoardFileSave.h"

#include "AtomicSave.h"
#include "BoardFileWriter.h"

namespace tivla {

std::optional<FileError> replaceFileAtomically(const std::string& path, std::string_view bytes) {
    if (const int error = saveFileAtomically(path, bytes); error != 0) {
        return FileError::fromErrno(error);
    }
    return std::nullopt;
}

std::optional<FileError> saveBoardFile(const std::string& path, const Board& board) {
    return replaceFileAtomically(path, boardFileText(board));
}

} // namespace tivla
