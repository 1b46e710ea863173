// Draws Тивла's title picture, button glyphs and icon into assets/images (or a folder given as
// the one argument).
#include "GlyphPainter.h"
#include "TitlePainter.h"

#include <QDir>
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
    if (!folder.exists()) {
        QTextStream(stderr) << "no such folder: " << folder.path() << '\n';
        return 1;
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
    return allSaved ? 0 : 1;
}
