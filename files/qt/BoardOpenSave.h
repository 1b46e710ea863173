// The open and save commands' file work, for paths the file dialogs hand over.
#pragma once

#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/FileError.h"
#include "files/PatternFormat.h"
#include "files/PatternPlacement.h"
#include "files/PatternReader.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <optional>

namespace tivla {

// The dialog hands over any name, and only a regular file ends: a named pipe would hold the
// open, and the window, until a writer came, and /dev/zero is blanks for ever. So a path that
// exists and is neither a file nor a folder is refused before it is opened.
inline std::optional<FileError> refusedBeforeOpening(const QString& path) {
    if (const QFileInfo info(path); info.exists() && !info.isFile() && !info.isDir()) {
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
template <typename Painter, typename ApplySize>
std::optional<FileError> loadBoardFromFile(const QString& path, Board& board, Painter& painter,
                                           ApplySize&& applyBoardSize) {
    if (auto refused = refusedBeforeOpening(path)) {
        return refused;
    }
    const std::string name = QFile::encodeName(path).toStdString();
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

// Saves the board to path in the format its extension names (a board file, RLE or plaintext;
// Life 1.06 and 1.05 are refused) through saveFileAtomically: a failure at any step leaves an
// existing file as it was, and a folder, a named pipe or a device at path is refused, not
// replaced. Returns the first failure.
std::optional<FileError> saveBoardToFile(const QString& path, const Board& board);

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
