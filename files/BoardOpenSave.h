// The open and save commands' file work, for paths the file dialogs hand over.
#pragma once

#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/FileError.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <optional>

namespace tivla {

// Loads the board file at path into the board, which the caller has just cleared: BoardSize
// and CellSize from its first line, then applyBoardSize(), then every cell read and painted with
// painter.PaintAliveCell(x, y). A path that names no file, or names a folder, a device or a
// pipe, fails before the board is touched. Returns the first failure, nothing on success.
template <typename Painter, typename ApplySize>
std::optional<FileError> loadBoardFromFile(const QString& path, Board& board, Painter& painter,
                                           ApplySize&& applyBoardSize) {
    // The dialog hands over any name, and only a regular file ends: a named pipe would hold the
    // open, and the window, until a writer came, and /dev/zero is blanks for ever.
    if (const QFileInfo info(path); info.exists() && !info.isFile() && !info.isDir()) {
        return FileError(FileError::kAccessDenied);
    }
    BoardFileInput input(QFile::encodeName(path).toStdString());
    if (!input.isOpen()) {
        return input.openError();
    }
    return readBoard(input.stream(), board, painter, applyBoardSize).error;
}

// Saves the board to path, replacing any file of that name only once the new one is complete:
// a failure at any step leaves an existing file as it was. A folder, a named pipe or a device
// at path is refused, not replaced. Returns the first failure.
std::optional<FileError> saveBoardToFile(const QString& path, const Board& board);

// The error box text of a failed open or save, full stop included.
QString errorBoxText(const FileError& error);

} // namespace tivla
