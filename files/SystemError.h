// Why a file step failed, in the system's number and words, and a QSaveFile finish that says so.
#pragma once

#include <QString>

#include <optional>

class QFileDevice;
class QSaveFile;

namespace tivla {

struct SystemError {
    // An errno value.
    int number = 0;
    // The system's description, e.g. "No such file or directory".
    QString text;
};

// The system's description of an errno value.
QString systemErrorText(int errorNumber);

// A failed step on a file: the errno captured right after the step when there is one,
// otherwise the nearest errno to what Qt says of the device (a full disk, or an I/O error).
SystemError systemErrorOf(const QFileDevice& file, int capturedErrno);

// Flushes, syncs to the disk and commits a QSaveFile whose bytes have all been written, so that
// the target is replaced only by a complete file. QSaveFile::commit alone reports success when
// the flush inside it writes short, and puts the truncated file in place of the old one; and a
// full disk may only show when the data reaches it. On failure the temporary file is discarded.
std::optional<SystemError> commitSaveFile(QSaveFile& file);

// The text with trailing blanks and full stops removed, ready to be quoted inside a sentence.
QString withoutTrailingStops(QString text);

} // namespace tivla
