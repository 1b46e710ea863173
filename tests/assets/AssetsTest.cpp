// Checks that every picture is reachable from the static library at its size and depth.
#include "assets/Assets.h"

#include <QImage>
#include <QTest>

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void picturesLoad_data();
    void picturesLoad();
};

void AssetsTest::initTestCase() {
    tivla::initAssets();
    // A second start-up path calling it again must do no harm.
    tivla::initAssets();
}

void AssetsTest::picturesLoad_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("transparentCorner");

    QTest::newRow("title") << QString(tivla::assets::kTitle) << QSize(768, 573) << false;
    const QLatin1String tools[] = {tivla::assets::kClear,    tivla::assets::kStart,
                                   tivla::assets::kStop,     tivla::assets::kOpen,
                                   tivla::assets::kSave,     tivla::assets::kAdvance,
                                   tivla::assets::kAdvanceTo};
    for (const QLatin1String path : tools)
        QTest::newRow(path.data()) << QString(path) << QSize(21, 21) << true;
    QTest::newRow("about") << QString(tivla::assets::kAbout) << QSize(16, 16) << true;
    QTest::newRow("fill") << QString(tivla::assets::kFill) << QSize(16, 16) << true;
    QTest::newRow("icon") << QString(tivla::assets::kIcon) << QSize(32, 32) << true;
}

void AssetsTest::picturesLoad() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, transparentCorner);

    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    if (transparentCorner) {
        // Glyphs sit on flat buttons whose orange must show around them.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    } else {
        // The title picture is plain 24-bit colour, drawn on the window's orange.
        QVERIFY(!image.hasAlphaChannel());
        QCOMPARE(image.pixelColor(0, 0), QColor(255, 128, 64));
    }
}

QTEST_GUILESS_MAIN(AssetsTest)
#include "AssetsTest.moc"
