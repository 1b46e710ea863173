// errno and QFileDevice failures turned into numbers and texts, and the careful QSaveFile finish.
#include "SystemError.h"

#include <QSaveFile>

#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace tivla {

QString systemErrorText(int errorNumber) {
    return QString::fromLocal8Bit(std::generic_category().message(errorNumber));
}

SystemError systemErrorOf(const QFileDevice& file, int capturedErrno) {
    if (capturedErrno != 0) {
        return {capturedErrno, systemErrorText(capturedErrno)};
    }
    if (file.error() == QFileDevice::ResourceError) {
        return {ENOSPC, systemErrorText(ENOSPC)};
    }
    return {EIO, file.errorString()};
}

std::optional<SystemError> commitSaveFile(QSaveFile& file) {
    errno = 0;
    bool written = file.flush();
    if (written) {
        // EINVAL: a file system that cannot sync, where the data is as safe as it gets.
        written = ::fsync(file.handle()) == 0 || errno == EINVAL;
    }
    if (!written) {
        const SystemError error = systemErrorOf(file, errno);
        // The temporary file goes when the QSaveFile does; the target is never touched.
        file.cancelWriting();
        return error;
    }
    errno = 0;
    if (!file.commit()) {
        return systemErrorOf(file, errno);
    }
    return std::nullopt;
}

QString withoutTrailingStops(QString text) {
    while (!text.isEmpty() && (text.back().isSpace() || text.back() == QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}

} // namespace tivla
