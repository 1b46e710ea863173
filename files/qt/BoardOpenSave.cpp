// Saving in the format the name asks for, through the one atomic save.
#include "BoardOpenSave.h"

#include "files/BoardFileSave.h"
#include "files/PatternWriter.h"
#include "files/PngEncoding.h"

#include <QFileInfo>

#include <iterator>
#include <string>

namespace tivla {

std::optional<FileError> saveBoardToFile(const QString& path, const Board& board,
                                         const PictureStyle& style) {
    const std::string name = QFile::encodeName(path).toStdString();
    if (pictureFormatForPath(name) == PictureFormat::Png) {
        const std::optional<std::string> png = encodePng(BoardPicture::ofBoard(board, style));
        if (!png) {
            return FileError::refusal("Не хватило памяти на рисунок поля. Файл не записан");
        }
        return replaceFileAtomically(name, *png);
    }
    const PatternNotes notes{QFile::encodeName(QFileInfo(path).completeBaseName()).toStdString(),
                             board.Generation};
    const std::optional<std::string> text = textInFormat(formatForPath(name), board, notes);
    if (!text) {
        return unwritableFormatError();
    }
    return replaceFileAtomically(name, *text);
}

QStringList openFilters() {
    return {QStringLiteral("Поля и узоры (*.txt *.rle *.cells *.lif *.life)"),
            QStringLiteral("Поля Тивлы (*.txt)"),
            QStringLiteral("Узоры RLE (*.rle)"),
            QStringLiteral("Узоры plaintext (*.cells)"),
            QStringLiteral("Узоры Life 1.06 и 1.05 (*.lif *.life)"),
            QStringLiteral("Все файлы (*)")};
}

QStringList saveFilters() {
    return {QStringLiteral("Поле Тивлы (*.txt)"), QStringLiteral("Узор RLE (*.rle)"),
            QStringLiteral("Узор plaintext (*.cells)"), QStringLiteral("Рисунок PNG (*.png)")};
}

QString withFilterExtension(const QString& path, int filter) {
    static const QString extensions[] = {QStringLiteral(".txt"), QStringLiteral(".rle"),
                                         QStringLiteral(".cells"), QStringLiteral(".png")};
    // A name that already exists is the user's choice of that very file (or folder, or device,
    // which the save then refuses), as it always was.
    const QFileInfo info(path);
    if (filter < 0 || filter >= static_cast<int>(std::size(extensions)) ||
        !info.suffix().isEmpty() || info.exists() || info.isSymLink()) {
        return path;
    }
    return path + extensions[filter];
}

QString errorBoxText(const FileError& error) {
    return QString::fromStdString(error.text());
}

} // namespace tivla
