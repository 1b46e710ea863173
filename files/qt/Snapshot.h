// Naming and writing the bitmap files that capture the board as it is shown.
#pragma once

#include <QString>

#include <optional>

class QDateTime;
class QImage;
class QLocale;

namespace tivla {

// The folder, relative to the current directory, that snapshots go to; it is never created.
QString snapshotFolder();

// "Скриншоты/Дата-<date> Время-<time> Поколение-<generation>.bmp": the locale's short date with
// "." turned into "_" and its long time without the zone, ":" turned into "_", and any space the
// locale puts in them (a narrow or no-break one) turned into a plain space. Nothing else is
// replaced, so a date with slashes names folders that don't exist and the save then fails.
QString snapshotFileName(const QDateTime& now, const QLocale& locale, int generation);

// The locale's long time format (hours, minutes, seconds) with the time zone taken out; the
// zone would put "UTC" or the like into every name.
QString longTimeFormatWithoutZone(const QLocale& locale);

// Writes the image, at its own pixel size, as an uncompressed 24-bit BMP file, replacing any
// file of that name through saveFileAtomically; the path is taken relative to the current
// directory. Nothing is written on failure, and the result is then the error's text, to which
// the error box adds its full stop: Cannot create file "<absolute path>". <system's reason>
std::optional<QString> saveSnapshot(const QImage& image, const QString& relativePath);

} // namespace tivla
