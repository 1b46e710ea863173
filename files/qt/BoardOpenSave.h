// The open and save commands' file work, for paths the file dialogs hand over.
#pragma once

#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/BoardPicture.h"
#include "files/FileError.h"
#include "files/PatternFormat.h"
#include "files/PatternPlacement.h"
#include "files/PatternReader.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <sys/stat.h>
#include <utility>

namespace tivla {

// The dialog hands over any name, and only a regular file ends: a named pipe would hold the
// open, and the window, until a writer came, and /dev/zero is blanks for ever. So a path that
// exists and is neither a file nor a folder is refused before it is opened.
inline std::optional<FileError> refusedBeforeOpening(const std::string& name) {
    struct stat info = {};
    if (name.find('\0') == std::string::npos && ::stat(name.c_str(), &info) == 0 &&
        !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        return FileError(FileError::kAccessDenied);
    }
    return std::nullopt;
}

// Loads the file at path into the board, which the caller has just cleared, in the format its
// extension names. A board file: BoardSize from its first line, then applyBoardSize(), where
// the window fits itself to the size, then every cell read and painted with
// painter.PaintAliveCell(x, y). A pattern: read and checked whole first, then placed on the
// current size when it fits there, otherwise on the smallest size button's size that holds it;
// a refused pattern touches nothing. A path that names no file, or names a folder, a device or a
// pipe, fails before the board is touched. Returns the first failure, nothing on success.
// The name is the file's bytes, as the system gave them (a command line, a drop), so that a name
// in another encoding than UTF-8 opens as tivla-batch opens it.
template <typename Painter, typename ApplySize>
std::optional<FileError> loadBoardFromFile(const std::string& name, Board& board, Painter& painter,
                                           ApplySize&& applyBoardSize) {
    if (auto refused = refusedBeforeOpening(name)) {
        return refused;
    }
    const PatternFormat format = formatForPath(name);
    if (format != PatternFormat::BoardFile) {
        const PatternRead read = readPatternFile(name, format);
        if (!read.pattern) {
            return read.error;
        }
        const int size = boardSizeForPattern(*read.pattern, board.BoardSize);
        placePattern(*read.pattern, size, board, painter, applyBoardSize);
        return std::nullopt;
    }
    BoardFileInput input(name);
    if (!input.isOpen()) {
        return input.openError();
    }
    return readBoard(input.stream(), board, painter, applyBoardSize).error;
}

// The same for a name a file dialog gave.
template <typename Painter, typename ApplySize>
std::optional<FileError> loadBoardFromFile(const QString& path, Board& board, Painter& painter,
                                           ApplySize&& applyBoardSize) {
    return loadBoardFromFile(QFile::encodeName(path).toStdString(), board, painter,
                             std::forward<ApplySize>(applyBoardSize));
}

// Saves the board to path in the format its extension names (a board file, RLE, plaintext or
// a PNG picture of the board drawn in style; Life 1.06 and 1.05 are refused) through
// saveFileAtomically: a failure at any step leaves an existing file as it was (but for the
// in-place cases AtomicSave.h names), and a folder, a named pipe, a device or a file this user
// may not write at path is refused, not replaced. Returns the first failure.
std::optional<FileError> saveBoardToFile(const QString& path, const Board& board,
                                         const PictureStyle& style = {});

// The open dialog's filters: everything Тивла opens, each format on its own, and all files.
QStringList openFilters();
// The save dialog's filters, in the order of saveFilterExtension.
QStringList saveFilters();
// The path with the extension of save filter number filter added when its name has none and
// names nothing that exists.
QString withFilterExtension(const QString& path, int filter);

// The error's text for the error box, which adds the full stop itself.
QString errorBoxText(const FileError& error);

} // namespace tivla
