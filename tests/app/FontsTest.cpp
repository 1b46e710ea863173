// Checks that the Windows fonts the controls name come out in the families, sizes and scripts
// the program needs.
#include "app/Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

namespace {

const QString kTahomaFile = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");

// The families whose glyphs actually draw the text. Qt quietly borrows glyphs a font lacks from
// other fonts, so asking the font itself whether it "has" a letter proves nothing.
QStringList familiesDrawing(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList families;
    for (const QGlyphRun& run : layout.glyphRuns())
        families.append(run.rawFont().familyName());
    families.removeDuplicates();
    return families;
}

} // namespace

class FontsTest : public QObject {
    Q_OBJECT

private slots:
    // Runs first, before the Wine fonts are registered, to see the program through a machine
    // without them.
    void missingFontFilesFallBackToStandIns();
    void familiesSizesAndCyrillic_data();
    void familiesSizesAndCyrillic();
    void windowsNamesResolveEvenWhenAskedForDirectly_data();
    void windowsNamesResolveEvenWhenAskedForDirectly();
};

void FontsTest::missingFontFilesFallBackToStandIns() {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        QSKIP("Tahoma is installed system-wide here");
    tivla::installFonts(QStringLiteral("/nonexistent/fonts"));

    const QFont tahoma = tivla::windowsFont(QStringLiteral("Tahoma"), -9);
    QCOMPARE(QFontInfo(tahoma).family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(QFontInfo(tahoma).pixelSize(), 9);
    QCOMPARE(familiesDrawing(tahoma, QStringLiteral("Тивла")), QStringList{"DejaVu Sans"});

    const QFont exit = tivla::windowsFont(QStringLiteral("MS Sans Serif"), -21, true);
    QCOMPARE(QFontInfo(exit).family(), QStringLiteral("Liberation Sans"));
}

void FontsTest::familiesSizesAndCyrillic_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("pixelSize");

    // A positive height is the cell: Tahoma's is 1.207 em (though Wine's copy tells Qt to
    // measure lines without the internal leading), PT Serif's 1.294 em.
    QTest::newRow("window default") << "Tahoma" << -9 << false << "Tahoma" << 9;
    QTest::newRow("title label") << "Tahoma" << 30 << false << "Tahoma" << 25;
    QTest::newRow("brush Угол") << "Tahoma" << 12 << false << "Tahoma" << 10;
    QTest::newRow("tool buttons") << "Georgia" << 15 << false << "PT Serif" << 12;
    QTest::newRow("settings panel") << "Georgia" << -11 << false << "PT Serif" << 11;
    QTest::newRow("statistics") << "Georgia" << 12 << false << "PT Serif" << 9;
    QTest::newRow("О творце") << "Georgia" << 14 << false << "PT Serif" << 11;
    // The bitmap MS Sans Serif has neither this size nor a bold face.
    QTest::newRow("exit button") << "MS Sans Serif" << -21 << true << "Liberation Sans" << 21;
    QTest::newRow("board view") << "Arial" << -13 << false << "Liberation Sans" << 13;
}

void FontsTest::familiesSizesAndCyrillic() {
    QFETCH(QString, family);
    QFETCH(int, height);
    QFETCH(bool, bold);
    QFETCH(QString, expected);
    QFETCH(int, pixelSize);
    if (expected == QStringLiteral("Tahoma") && !QFile::exists(kTahomaFile))
        QSKIP("fonts-wine is not installed");
    tivla::installFonts();

    const QFont font = tivla::windowsFont(family, height, bold);
    const QFontInfo info(font);
    QCOMPARE(info.family(), expected);
    QCOMPARE(info.pixelSize(), pixelSize);
    if (bold)
        QCOMPARE(QRawFont::fromFont(font).weight(), int(QFont::Bold));
    // "Х" is the exit button's caption; the rest are the program's own name.
    QCOMPARE(familiesDrawing(font, QStringLiteral("ХТивла")), QStringList{expected});
}

void FontsTest::windowsNamesResolveEvenWhenAskedForDirectly_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Georgia") << "Georgia"
                             << "PT Serif";
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
}

// Style sheets and fonts built by hand name the Windows family and never pass through
// windowsFont.
void FontsTest::windowsNamesResolveEvenWhenAskedForDirectly() {
    QFETCH(QString, family);
    QFETCH(QString, expected);
    tivla::installFonts();
    QFont font(family);
    font.setPixelSize(12);
    QCOMPARE(QFontInfo(font).family(), expected);
}

QTEST_MAIN(FontsTest)
#include "FontsTest.moc"
