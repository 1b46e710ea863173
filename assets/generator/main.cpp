// Draws Тивла's title picture, button glyphs and icon into assets/images, and the icon theme's
// pictures into assets/icons (or the folders given as the arguments).
#include "GlyphPainter.h"
#include "IconPainter.h"
#include "TitlePainter.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include <functional>
#include <utility>

namespace {

bool saveImage(const QImage& image, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    if (image.save(path))
        return true;
    QTextStream(stderr) << "cannot write " << path << '\n';
    return false;
}

// The icon at every theme size and as SVG, in the hicolor theme's layout below folder.
bool saveThemeIcons(const QDir& folder) {
    bool allSaved = true;
    for (const int size : tivla::IconPainter::kThemeSizes) {
        const QString sub = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        allSaved = folder.mkpath(sub) &&
                   saveImage(tivla::IconPainter::paint(size), QDir(folder.filePath(sub)),
                             QStringLiteral("tivla.png")) &&
                   allSaved;
    }
    const QString scalable = QStringLiteral("hicolor/scalable/apps");
    QFile svg(folder.filePath(scalable + QStringLiteral("/tivla.svg")));
    const QByteArray text = tivla::IconPainter::svg();
    if (!folder.mkpath(scalable) || !svg.open(QIODevice::WriteOnly) ||
        svg.write(text) != text.size()) {
        QTextStream(stderr) << "cannot write " << svg.fileName() << '\n';
        return false;
    }
    return allSaved;
}

} // namespace

int main(int argc, char* argv[]) {
    // Drawing needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The pictures use Tahoma, as the program's controls do; without Wine's copy Qt substitutes.
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf"})
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/") +
                                          QLatin1String(file));

    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1])
                               : QStringLiteral(TIVLA_ASSET_IMAGES_DIR));
    const QDir iconFolder(argc > 2 ? QString::fromLocal8Bit(argv[2])
                                   : QStringLiteral(TIVLA_ASSET_ICONS_DIR));
    for (const QDir& needed : {folder, iconFolder}) {
        if (!needed.exists()) {
            QTextStream(stderr) << "no such folder: " << needed.path() << '\n';
            return 1;
        }
    }

    const std::pair<QString, std::function<QImage()>> images[] = {
        {QStringLiteral("title.png"), [] { return tivla::TitlePainter::paint(); }},
        {QStringLiteral("clear.png"), &tivla::GlyphPainter::clear},
        {QStringLiteral("start.png"), &tivla::GlyphPainter::start},
        {QStringLiteral("stop.png"), &tivla::GlyphPainter::stop},
        {QStringLiteral("open.png"), &tivla::GlyphPainter::open},
        {QStringLiteral("save.png"), &tivla::GlyphPainter::save},
        {QStringLiteral("advance.png"), &tivla::GlyphPainter::advance},
        {QStringLiteral("advance-to.png"), &tivla::GlyphPainter::advanceTo},
        {QStringLiteral("about.png"), &tivla::GlyphPainter::about},
        {QStringLiteral("fill.png"), &tivla::GlyphPainter::fill},
        {QStringLiteral("icon.png"), &tivla::GlyphPainter::icon},
    };
    bool allSaved = true;
    for (const auto& [name, draw] : images) {
        const QImage image = draw();
        allSaved = saveImage(image, folder, name) && allSaved;
        // Pixel-doubled copies keep the pixel-art glyphs crisp at a device pixel ratio of 2;
        // Qt picks a file's "@2x" sibling by itself. The title picture is shown unscaled.
        if (name != QStringLiteral("title.png")) {
            QString doubled = name;
            doubled.insert(name.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
            allSaved = saveImage(image.scaled(image.size() * 2, Qt::IgnoreAspectRatio,
                                              Qt::FastTransformation),
                                 folder, doubled) &&
                       allSaved;
        }
    }
    allSaved = saveThemeIcons(iconFolder) && allSaved;
    return allSaved ? 0 : 1;
}
