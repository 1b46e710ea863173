// What the open dialog shows of a file before it is opened, read through the open command's
// own readers.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace tivla {

struct FilePreview {
    // The pattern's name, else the file name; empty for a folder or no path at all.
    QString title;
    QString author;
    QStringList comments;
    // The size the file opens on, with the pattern's box: a sentence.
    QString sizes;
    // The open command's error box text, exactly; empty when the file opens.
    QString refusal;
    // One pixel per cell in the window's colours: a pattern's box with a margin of one dead
    // cell, or a whole board. Null when there is nothing to draw.
    QImage picture;
};

// Reads the file at path as the open command would with the board at currentBoardSize, and
// places nothing. A folder, or a path that names nothing, gives an empty preview.
FilePreview previewFile(const QString& path, int currentBoardSize);

} // namespace tivla
