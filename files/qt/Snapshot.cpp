// Snapshot file names from the clock and the locale, and the BMP writer behind "Снимок".
#include "Snapshot.h"

#include "files/AtomicSave.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>

#include <cerrno>
#include <string_view>
#include <system_error>

namespace tivla {

namespace {

// Qt's BMP writer stores every 32-bit image as 24-bit BI_RGB; other formats are brought to
// that first so that the file never depends on how the caller's image was made.
constexpr QImage::Format kSnapshotFormat = QImage::Format_RGB32;

bool isZoneLetter(QChar c) {
    return c == QLatin1Char('t');
}

// What stands between the clock and the zone: blanks, or a comma and a blank.
bool isZoneSeparator(QChar c) {
    return c.isSpace() || c == QLatin1Char(',');
}

bool isBracketPair(QChar open, QChar close) {
    return (open == QLatin1Char('(') && close == QLatin1Char(')')) ||
           (open == QLatin1Char('[') && close == QLatin1Char(']'));
}

// Newer locale data spaces some clocks with a narrow or a no-break space (American English
// reads "9:05:33\u202FPM" from CLDR 42 on); the name takes a plain space instead, so that it is
// typed alike and reads the same whichever release of the data made it.
QString withPlainSpaces(QString text) {
    for (QChar& c : text) {
        if (c.category() == QChar::Separator_Space) {
            c = QLatin1Char(' ');
        }
    }
    return text;
}

QString systemErrorText(int errorNumber) {
    return QString::fromLocal8Bit(std::generic_category().message(errorNumber));
}

} // namespace

QString snapshotFolder() {
    return QStringLiteral("Скриншоты");
}

QString longTimeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    result.reserve(format.size());
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (quoted || !isZoneLetter(c)) {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && isZoneLetter(format.at(i + 1))) {
            ++i;
        }
        // Brackets that only hold the zone go with it.
        if (!result.isEmpty() && i + 1 < format.size() &&
            isBracketPair(result.back(), format.at(i + 1))) {
            result.chop(1);
            ++i;
        }
        if (result.isEmpty()) {
            while (i + 1 < format.size() && isZoneSeparator(format.at(i + 1))) {
                ++i;
            }
        }
        while (!result.isEmpty() && isZoneSeparator(result.back())) {
            result.chop(1);
        }
    }
    return result;
}

QString snapshotFileName(const QDateTime& now, const QLocale& locale, int generation) {
    QString date = locale.toString(now.date(), QLocale::ShortFormat);
    date.replace(QLatin1Char('.'), QLatin1Char('_'));
    QString time = locale.toString(now.time(), longTimeFormatWithoutZone(locale));
    time.replace(QLatin1Char(':'), QLatin1Char('_'));
    return snapshotFolder() + QDir::separator() + QStringLiteral("Дата-") + withPlainSpaces(date) +
           QStringLiteral(" Время-") + withPlainSpaces(time) + QStringLiteral(" Поколение-") +
           QString::number(generation) + QStringLiteral(".bmp");
}

std::optional<QString> saveSnapshot(const QImage& image, const QString& relativePath) {
    const QString path = QDir::current().absoluteFilePath(relativePath);
    const auto failure = [&path](int errorNumber) {
        return QStringLiteral("Cannot create file \"%1\". %2")
            .arg(QDir::toNativeSeparators(path), systemErrorText(errorNumber));
    };
    const QImage pixels =
        image.format() == kSnapshotFormat ? image : image.convertToFormat(kSnapshotFormat);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !pixels.save(&buffer, "BMP")) {
        // Encoding into memory fails only when the memory runs out.
        return failure(ENOMEM);
    }
    // The file appears under its name only once it is complete, so a failure leaves no
    // half-written bitmap behind and an older snapshot of the same name untouched.
    const int error = saveFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (error != 0) {
        return failure(error);
    }
    return std::nullopt;
}

} // namespace tivla
