// Saving through QSaveFile, with Qt's failures turned into the runtime error numbers.
#include "BoardOpenSave.h"

#include "files/PatternWriter.h"
#include "files/SystemError.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <iterator>
#include <string>

namespace tivla {

namespace {

FileError fileErrorOf(const SystemError& error) {
    return FileError::fromErrno(error.number);
}

} // namespace

std::optional<FileError> saveBoardToFile(const QString& path, const Board& board) {
    // QSaveFile would first write the whole file beside a folder and only then fail to rename
    // it; naming the folder's own failure is clearer.
    const QFileInfo target(path);
    if (target.isDir()) {
        return FileError::fromErrno(EISDIR);
    }
    // The new file is renamed over the target, which would replace a named pipe or a device
    // with a plain file of that name (saving to /dev/null as root would replace the system's).
    if (target.exists() && !target.isFile()) {
        return FileError::fromErrno(EACCES);
    }
    const PatternNotes notes{QFile::encodeName(target.completeBaseName()).toStdString(),
                             board.Generation};
    const std::optional<std::string> saved =
        textInFormat(formatForPath(QFile::encodeName(path).toStdString()), board, notes);
    if (!saved) {
        return unwritableFormatError();
    }
    const std::string& text = *saved;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return fileErrorOf(systemErrorOf(file, errno));
    }
    errno = 0;
    if (file.write(text.data(), static_cast<qint64>(text.size())) !=
        static_cast<qint64>(text.size())) {
        const SystemError error = systemErrorOf(file, errno);
        file.cancelWriting();
        return fileErrorOf(error);
    }
    if (const std::optional<SystemError> error = commitSaveFile(file)) {
        return fileErrorOf(*error);
    }
    return std::nullopt;
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
            QStringLiteral("Узор plaintext (*.cells)")};
}

QString withFilterExtension(const QString& path, int filter) {
    static const QString extensions[] = {QStringLiteral(".txt"), QStringLiteral(".rle"),
                                         QStringLiteral(".cells")};
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
    return QString::fromStdString(error.messageText());
}

} // namespace tivla
