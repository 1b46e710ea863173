// Saving through QSaveFile, with Qt's failures turned into the runtime error numbers.
#include "BoardOpenSave.h"

#include "files/BoardFileWriter.h"
#include "files/SystemError.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
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
    const std::string text = boardFileText(board);
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

QString errorBoxText(const FileError& error) {
    return QString::fromStdString(error.messageText());
}

} // namespace tivla
