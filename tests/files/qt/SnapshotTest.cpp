// Snapshot names under several locales and the bitmap files that "Снимок" writes.
#include "files/qt/Snapshot.h"
#include "engine/Board.h"
#include "files/FileError.h"
#include "view/StringGrid.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/FileSizeLimit.h"

#include <algorithm>
#include <memory>

using namespace tivla;

namespace {

constexpr int kBmpHeaderSize = 54;

const QDateTime kEvening(QDate(2026, 12, 6), QTime(21, 5, 33));

quint32 littleEndian(const QByteArray& bytes, int offset, int width) {
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<quint8>(bytes.at(offset + i));
    }
    return value;
}

// A picture like a board view's: the board colour, grid lines, a few yellow cells.
QImage boardPicture(int side, int cell) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(255, 128, 64));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (int p = cell; p < side; p += cell + 1) {
        painter.drawLine(p, 0, p, side - 1);
        painter.drawLine(0, p, side - 1, p);
    }
    painter.fillRect(0, 0, cell, cell, QColor(255, 255, 0));
    painter.fillRect(side - cell - 1, 2 * (cell + 1), cell, cell, QColor(255, 255, 0));
    painter.fillRect(3, side - 2, 5, 2, QColor(12, 34, 56));
    return image;
}

QString name(const QString& date, const QString& time, int generation) {
    return QStringLiteral("Скриншоты") + QDir::separator() + QStringLiteral("Дата-") + date +
           QStringLiteral(" Время-") + time + QStringLiteral(" Поколение-") +
           QString::number(generation) + QStringLiteral(".bmp");
}

qsizetype spaceCount(const QString& text) {
    return std::count_if(text.begin(), text.end(),
                         [](QChar c) { return c.category() == QChar::Separator_Space; });
}

// The text as the error box shows it, full stop included, or "no error".
QString shown(const std::optional<QString>& error) {
    return error ? QString::fromStdString(withFullStop(error->toStdString()))
                 : QStringLiteral("no error");
}

// Every file below the current folder, hidden ones included.
int fileCount() {
    QDirIterator it(QDir::currentPath(), QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    int count = 0;
    for (; it.hasNext(); it.next()) {
        ++count;
    }
    return count;
}

} // namespace

class SnapshotTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QVERIFY(QDir::setCurrent(dir_->path()));
    }

    void cleanup() {
        QDir::setCurrent(QDir::tempPath());
        dir_.reset();
    }

    void namesFollowTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("generation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Russian") << "ru_RU" << kEvening << 57 << name("06_12_2026", "21_05_33", 57);
        // Slashes stay: they lead into folders that don't exist, and the save then fails. The
        // space before "PM" is plain whatever space the locale data puts there.
        const QLocale us(QStringLiteral("en_US"));
        QTest::newRow("American") << "en_US" << kEvening << 57
                                  << name(us.toString(kEvening.date(), QLocale::ShortFormat),
                                          "9_05_33 " + us.pmText(), 57);
        QTest::newRow("German two-digit year")
            << "de_DE" << kEvening << 2147483647 << name("06_12_26", "21_05_33", 2147483647);
        QTest::newRow("zone before the clock")
            << "zh_CN" << kEvening << 3 << name("2026/12/6", "21_05_33", 3);
        QTest::newRow("zone after a comma")
            << "be_BY" << kEvening << 3 << name("6_12_26", "21_05_33", 3);
        QTest::newRow("zone in square brackets")
            << "yue_HK" << kEvening << 3
            << name("2026/12/6", QLocale(QStringLiteral("yue_HK")).pmText() + "9_05_33", 3);
        QTest::newRow("zone in brackets")
            << "fa_IR" << kEvening << 3
            << name(
                   QLocale(QStringLiteral("fa_IR")).toString(kEvening.date(), QLocale::ShortFormat),
                   QStringLiteral("۲۱_۰۵_۳۳"), 3);
    }

    void namesFollowTheLocale() {
        QFETCH(QString, locale);
        QFETCH(QDateTime, now);
        QFETCH(int, generation);
        QFETCH(QString, expected);
        QCOMPARE(snapshotFileName(now, QLocale(locale), generation), expected);
    }

    // No locale's name keeps the time zone, and each space of its date and time is in the name
    // as a plain one.
    void noLocaleKeepsTheZoneOrAnOddSpace() {
        const auto locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                      QLocale::AnyTerritory);
        for (const QLocale& locale : locales) {
            const QString format = longTimeFormatWithoutZone(locale);
            const QString shown =
                locale.name() + QStringLiteral(": '") + format + QLatin1Char('\'');
            QVERIFY2(!format.isEmpty() && !format.front().isSpace() && !format.back().isSpace() &&
                         !format.endsWith(QLatin1Char(',')) &&
                         !format.contains(QStringLiteral("()")) &&
                         !format.contains(QStringLiteral("[]")),
                     qPrintable(shown));
            bool quoted = false;
            for (QChar c : format) {
                quoted ^= c == QLatin1Char('\'');
                QVERIFY2(quoted || c != QLatin1Char('t'), qPrintable(shown));
            }
            QVERIFY2(format.contains(QLatin1Char('s')), qPrintable(shown));
            const QString named = snapshotFileName(kEvening, locale, 1);
            const QString parts = locale.toString(kEvening.date(), QLocale::ShortFormat) +
                                  locale.toString(kEvening.time(), format);
            QVERIFY2(named.count(u' ') == spaceCount(named) &&
                         spaceCount(named) == 2 + spaceCount(parts),
                     qPrintable(shown + u' ' + named));
        }
    }

    void aClearedBoardIsGenerationZero() {
        auto board = std::make_unique<Board>();
        board->resetToStart();
        board->Generation = 812;
        SilentPainter painter;
        board->ClearBoard(painter, [] {});
        QVERIFY(snapshotFileName(kEvening, QLocale(QStringLiteral("ru_RU")), board->Generation)
                    .endsWith(QStringLiteral(" Поколение-0.bmp")));
    }

    void writesAnUncompressed24BitBitmap_data() {
        QTest::addColumn<QImage>("image");
        QTest::newRow("40 x 40 board") << boardPicture(640, 15);
        QTest::newRow("200 x 200 board") << boardPicture(600, 2);
        QImage hiDpi = boardPicture(640, 15);
        hiDpi.setDevicePixelRatio(2);
        QTest::newRow("device pixel ratio 2") << hiDpi;
        QTest::newRow("rows padded to four bytes") << boardPicture(7, 1);
        QTest::newRow("with alpha") << boardPicture(16, 3).convertToFormat(QImage::Format_ARGB32);
    }

    void writesAnUncompressed24BitBitmap() {
        QFETCH(QImage, image);
        QVERIFY(QDir().mkdir(QStringLiteral("Скриншоты")));
        const QString path = snapshotFileName(kEvening, QLocale(QStringLiteral("ru_RU")), 57);
        QCOMPARE(saveSnapshot(image, path), std::nullopt);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int width = image.width();
        const int height = image.height();
        const int stride = (width * 3 + 3) / 4 * 4;
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(littleEndian(bytes, 2, 4), quint32(kBmpHeaderSize + stride * height));
        QCOMPARE(bytes.size(), kBmpHeaderSize + stride * height);
        QCOMPARE(littleEndian(bytes, 10, 4), quint32(kBmpHeaderSize));
        QCOMPARE(littleEndian(bytes, 14, 4), quint32(40));
        QCOMPARE(littleEndian(bytes, 18, 4), quint32(width));
        QCOMPARE(littleEndian(bytes, 22, 4), quint32(height)); // positive: bottom-up rows
        QCOMPARE(littleEndian(bytes, 28, 2), quint32(24));
        QCOMPARE(littleEndian(bytes, 30, 4), quint32(0)); // BI_RGB

        for (int y = 0; y < height; ++y) {
            const int row = kBmpHeaderSize + (height - 1 - y) * stride;
            for (int x = 0; x < width; ++x) {
                const QRgb expected = image.pixel(x, y);
                const int at = row + 3 * x;
                const QRgb actual =
                    qRgb(static_cast<quint8>(bytes.at(at + 2)),
                         static_cast<quint8>(bytes.at(at + 1)), static_cast<quint8>(bytes.at(at)));
                if (actual != qRgb(qRed(expected), qGreen(expected), qBlue(expected))) {
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
                }
            }
        }
        QCOMPARE(fileCount(), 1);
    }

    // The file holds the grid control's picture at the control's own size.
    void theGridIsSavedAtItsOwnSize() {
        StringGrid grid;
        grid.setColCount(40);
        grid.setRowCount(40);
        grid.setDefaultColWidth(15);
        grid.setDefaultRowHeight(15);
        grid.resize(grid.sizeHint());
        QCOMPARE(grid.size(), QSize(640, 640));
        QVERIFY(QDir().mkdir(QStringLiteral("Скриншоты")));
        const QString path = snapshotFileName(kEvening, QLocale(QStringLiteral("ru_RU")), 0);
        const QImage picture = grid.snapshot();
        QCOMPARE(saveSnapshot(picture, path), std::nullopt);
        const QImage saved(path);
        QCOMPARE(saved.size(), grid.size());
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                 picture.convertToFormat(QImage::Format_RGB32));
    }

    // Two snapshots in the same second share a name: the second replaces the first, but only
    // once it is complete.
    void aSnapshotOfTheSameNameReplacesTheOldOneWhole() {
        QVERIFY(QDir().mkdir(QStringLiteral("Скриншоты")));
        const QString path = snapshotFileName(kEvening, QLocale(QStringLiteral("ru_RU")), 57);
        QImage first(640, 640, QImage::Format_RGB32);
        first.fill(Qt::black);
        QCOMPARE(saveSnapshot(first, path), std::nullopt);
        const QImage second = boardPicture(640, 15);
        QCOMPARE(saveSnapshot(second, path), std::nullopt);
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), second);

        std::optional<QString> error;
        {
            FileSizeLimit limit(100000);
            error = saveSnapshot(first, path);
        }
        const QString fullPath = QDir::toNativeSeparators(QDir::current().filePath(path));
        QCOMPARE(shown(error),
                 QStringLiteral("Cannot create file \"%1\". File too large.").arg(fullPath));
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), second);
        QCOMPARE(fileCount(), 1);
    }

    void failuresNameTheFullPathAndTheSystemsReason_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("folderKind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no folder") << "ru_RU"
                                   << "none"
                                   << "No such file or directory.";
        QTest::newRow("slashes in the date") << "en_US"
                                             << "folder"
                                             << "No such file or directory.";
        QTest::newRow("folder is a file") << "ru_RU"
                                          << "file"
                                          << "Not a directory.";
    }

    // Nothing is written, and the folder is never created.
    void failuresNameTheFullPathAndTheSystemsReason() {
        QFETCH(QString, locale);
        QFETCH(QString, folderKind);
        QFETCH(QString, reason);
        if (folderKind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(QStringLiteral("Скриншоты")));
        } else if (folderKind == QLatin1String("file")) {
            QFile file(QStringLiteral("Скриншоты"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString path = snapshotFileName(kEvening, QLocale(locale), 57);
        const QString fullPath = QDir::toNativeSeparators(QDir::current().filePath(path));
        QCOMPARE(shown(saveSnapshot(boardPicture(640, 15), path)),
                 QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath, reason));
        QCOMPARE(fileCount(), folderKind == QLatin1String("file") ? 1 : 0);
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_MAIN(SnapshotTest)
#include "SnapshotTest.moc"
