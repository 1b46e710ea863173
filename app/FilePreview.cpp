// The open command's readers run for a look at the file, not for the board.
#include "FilePreview.h"

#include "UserDialogs.h"
#include "WindowColours.h"
#include "engine/Board.h"
#include "files/qt/BoardOpenSave.h"

#include <QFileInfo>

#include <memory>

namespace tivla {

namespace {

QString sizeText(int width, int height) {
    // No-break spaces: "45 x 45" wraps as one word.
    return QStringLiteral("%1\u00A0x\u00A0%2").arg(width).arg(height);
}

QString refusalText(const FileError& error) {
    return withFullStop(errorBoxText(error));
}

// The box with one dead cell around it, so that cells on its edge are seen as the edge.
QImage patternPicture(const Pattern& pattern) {
    QImage picture(pattern.width + 2, pattern.height + 2, QImage::Format_RGB32);
    picture.fill(kBoardColour);
    for (const PatternCell& cell : pattern.alive) {
        picture.setPixelColor(cell.x + 1, cell.y + 1, kAliveColour);
    }
    return picture;
}

void previewPattern(const std::string& name, PatternFormat format, int currentBoardSize,
                    FilePreview& preview) {
    const PatternRead read = readPatternFile(name, format);
    if (!read.pattern) {
        preview.refusal = refusalText(*read.error);
        return;
    }
    const Pattern& pattern = *read.pattern;
    const PatternComments& comments = pattern.comments;
    if (!comments.name().empty()) {
        preview.title = QString::fromStdString(comments.name());
    }
    preview.author = QString::fromStdString(comments.author());
    for (const std::string& line : comments.lines()) {
        preview.comments << QString::fromStdString(line);
    }
    const int size = boardSizeForPattern(pattern, currentBoardSize);
    preview.sizes = QStringLiteral("Узор %1 откроется на поле %2.")
                        .arg(sizeText(pattern.width, pattern.height), sizeText(size, size));
    preview.picture = patternPicture(pattern);
}

void previewBoard(const std::string& name, FilePreview& preview) {
    BoardFileInput input(name);
    if (!input.isOpen()) {
        preview.refusal = refusalText(*input.openError());
        return;
    }
    // A board of its own: the preview must not touch the window's.
    const auto board = std::make_unique<Board>();
    SilentPainter painter;
    const LoadResult result = readBoard(input.stream(), *board, painter, [] {});
    if (result.error) {
        preview.refusal = refusalText(*result.error);
    }
    const int n = board->BoardSize;
    if (n == 0) {
        return;
    }
    // Cells read before a failure stay on the board, as they do when the file is opened.
    preview.sizes = QStringLiteral("Откроется поле %1.").arg(sizeText(n, n));
    preview.picture = QImage(n, n, QImage::Format_RGB32);
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < n; ++y) {
            preview.picture.setPixelColor(x, y, board->isAlive(x, y) ? kAliveColour : kBoardColour);
        }
    }
}

} // namespace

FilePreview previewFile(const QString& path, int currentBoardSize) {
    FilePreview preview;
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir() || !info.exists()) {
        return preview;
    }
    preview.title = info.fileName();
    const std::string name = QFile::encodeName(path).toStdString();
    if (auto refused = refusedBeforeOpening(name)) {
        preview.refusal = refusalText(*refused);
        return preview;
    }
    const PatternFormat format = formatForPath(name);
    if (format == PatternFormat::BoardFile) {
        previewBoard(name, preview);
    } else {
        previewPattern(name, format, currentBoardSize, preview);
    }
    return preview;
}

} // namespace tivla
