// Gives the program the Windows fonts its controls name, or the nearest fonts at hand.
#include "app/Fonts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace tivla {

namespace {

// Wine's ms_sans_serif.ttf rather than its sserif*.fon: Qt takes the family from the .fon files
// but maps no character to their glyphs, so every letter would come from some fallback font.
// The .ttf carries Cyrillic, though Qt sees only its 13-pixel strike and it has no bold.
constexpr const char* kFontFiles[] = {"tahoma.ttf", "tahomabd.ttf", "ms_sans_serif.ttf"};

struct StandIns {
    QLatin1String family;
    QLatin1String first;
    QLatin1String second;
};

// PT Serif shares Georgia's sturdy screen-serif build and has Cyrillic; Liberation Sans is
// metric-compatible with Arial, whose shapes Microsoft Sans Serif (the outline form of MS Sans
// Serif) also follows; DejaVu Sans is the wide humanist sans nearest to Tahoma.
constexpr StandIns kStandIns[] = {
    {QLatin1String("Tahoma"), QLatin1String("DejaVu Sans"), QLatin1String("Liberation Sans")},
    {QLatin1String("Georgia"), QLatin1String("PT Serif"), QLatin1String("DejaVu Serif")},
    {QLatin1String("MS Sans Serif"), QLatin1String("Liberation Sans"),
     QLatin1String("DejaVu Sans")},
    {QLatin1String("Arial"), QLatin1String("Liberation Sans"), QLatin1String("DejaVu Sans")},
};

QStringList standInsFor(const QString& family) {
    for (const StandIns& entry : kStandIns) {
        if (family.compare(entry.family, Qt::CaseInsensitive) == 0)
            return {entry.first, entry.second};
    }
    return {QStringLiteral("DejaVu Sans")};
}

int cellHeight(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

// Windows takes a TrueType font's cell from usWinAscent + usWinDescent, whatever line metrics
// the font asks other systems to use. Wine's Tahoma asks for its typographic ones, which leave
// out the internal leading, so Qt's ascent + descent would make every positive height about a
// fifth too large there. Returns the cell per pixel of em, or 0 for a font without the tables.
double windowsCellPerEm(const QFont& font) {
    constexpr int kUnitsPerEmOffset = 18;
    constexpr int kWinAscentOffset = 74;
    constexpr int kWinDescentOffset = 76;
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray head = raw.fontTable("head");
    const QByteArray os2 = raw.fontTable("OS/2");
    if (head.size() < kUnitsPerEmOffset + 2 || os2.size() < kWinDescentOffset + 2)
        return 0;
    const int unitsPerEm = qFromBigEndian<quint16>(head.constData() + kUnitsPerEmOffset);
    const int winAscent = qFromBigEndian<quint16>(os2.constData() + kWinAscentOffset);
    const int winDescent = qFromBigEndian<quint16>(os2.constData() + kWinDescentOffset);
    if (unitsPerEm == 0 || winAscent + winDescent == 0)
        return 0;
    return double(winAscent + winDescent) / unitsPerEm;
}

// Without the tables, the pixel size whose ascent + descent comes closest. Cell height grows
// almost in proportion to the pixel size, so one measurement at a large size gives an estimate
// and its neighbours settle the rounding. On a tie the smaller size wins, so the text never
// outgrows the cell it was given.
int closestMeasuredSize(QFont font, int height) {
    constexpr int kProbeSize = 100;
    constexpr int kSearchRadius = 2;
    font.setPixelSize(kProbeSize);
    const int probeCell = std::max(1, cellHeight(font));
    const int estimate = std::max(1, (height * kProbeSize + probeCell / 2) / probeCell);
    int best = estimate;
    int bestError = INT_MAX;
    for (int size = std::max(1, estimate - kSearchRadius); size <= estimate + kSearchRadius;
         ++size) {
        font.setPixelSize(size);
        const int error = std::abs(cellHeight(font) - height);
        if (error < bestError) {
            best = size;
            bestError = error;
        }
    }
    return best;
}

int pixelSizeForCellHeight(const QFont& font, int height) {
    if (const double cellPerEm = windowsCellPerEm(font); cellPerEm > 0)
        return std::max(1, int(std::lround(height / cellPerEm)));
    return closestMeasuredSize(font, height);
}

QFont sizedFont(const QString& family, int height, bool bold) {
    QFont font(family);
    font.setBold(bold);
    if (height < 0)
        font.setPixelSize(-height);
    else if (height > 0)
        font.setPixelSize(pixelSizeForCellHeight(font, height));
    return font;
}

bool hasBoldFace(const QString& family) {
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(),
                       [&](const QString& style) { return QFontDatabase::bold(family, style); });
}

// Outline fonts serve any size. A bitmap family serves only the sizes it has, and Qt neither
// scales nor emboldens its strikes, so anything else would come out too small or too thin.
bool serves(const QString& family, const QFont& font, int height, bool bold) {
    if (QFontDatabase::isSmoothlyScalable(family))
        return true;
    if (bold && !hasBoldFace(family))
        return false;
    if (height < 0)
        return QFontInfo(font).pixelSize() == -height;
    if (height > 0)
        return cellHeight(font) == height;
    return true;
}

} // namespace

void installFonts(const QString& folder) {
    // Qt registers a file given twice as a second copy of its families, so remember the files
    // for the start-up path and the tests that both call this.
    static QStringList registered;
    const QDir dir(folder);
    for (const char* name : kFontFiles) {
        const QString path = dir.filePath(QLatin1String(name));
        if (registered.contains(path) || !QFile::exists(path))
            continue;
        if (QFontDatabase::addApplicationFont(path) >= 0)
            registered.append(path);
    }
    for (const StandIns& entry : kStandIns)
        QFont::insertSubstitutions(entry.family, {entry.first, entry.second});
}

QFont windowsFont(const QString& family, int height, bool bold) {
    const QStringList candidates = QStringList{family} + standInsFor(family);
    for (const QString& candidate : candidates) {
        if (!QFontDatabase::hasFamily(candidate))
            continue;
        QFont font = sizedFont(candidate, height, bold);
        if (!serves(candidate, font, height, bold))
            continue;
        if (!QFontDatabase::isSmoothlyScalable(candidate))
            font.setPixelSize(QFontInfo(font).pixelSize());
        return font;
    }
    // Nothing named is installed: Qt's own matching still finds some font for the last one.
    return sizedFont(candidates.last(), height, bold);
}

} // namespace tivla
