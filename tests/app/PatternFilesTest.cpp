// Patterns through the main window: the dialogs' filters, the format a save takes from its
// filter, where an opened pattern lands and on which size, refusals, drops and the preview.
#include "MainWindowFixture.h"

#include "app/FilePreviewPanel.h"
#include "app/WindowColours.h"
#include "files/qt/BoardOpenSave.h"
#include "view/StringGrid.h"

#include <QLabel>
#include <QMimeData>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QToolButton>
#include <QUrl>

#include <cstdio>
#include <fstream>
#include <sys/stat.h>

using namespace tivla;

namespace {

// The panel's texts as "title|author|comments|sizes|refusal", a hidden one empty.
QString texts(const FilePreviewPanel& panel) {
    QStringList shown;
    for (const char* name : {"title", "author", "comments", "sizes", "refusal"}) {
        const auto* label = panel.findChild<QLabel*>(QString::fromLatin1(name));
        shown << (label->isVisibleTo(&panel) ? label->text() : QString());
    }
    return shown.join(QLatin1Char('|')).replace(QChar(0xA0), QLatin1Char(' '));
}

} // namespace

class PatternFilesTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private:
    void clickOpen(const QString& path) {
        log.nextOpen = path;
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
    }
    void clickSave(const QString& name, int filter) {
        log.nextSave = dir->filePath(name);
        log.nextSaveFilter = filter;
        QTest::mouseClick(control("SpeedButton8"), Qt::LeftButton);
    }
    QByteArray contents(const QString& name) const {
        QFile file(dir->filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Sends a drag of the urls onto the board and drops it there, as a file manager would.
    bool drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        auto* grid = control<StringGrid>("StringGrid1");
        const QPoint at = grid->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &dropped);
        return dropped.isAccepted();
    }

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow(true)); }
    void cleanup() { closeWindow(); }

    void theDialogsOfferEveryFormat() {
        clickOpen({});
        clickSave({}, 0);
        QCOMPARE(log.openFolders,
                 (QStringList{QStringLiteral("примеры"), QStringLiteral("примеры")}));
        QCOMPARE(log.filters.size(), 2);
        const QStringList open = log.filters[0];
        QCOMPARE(open.size(), 6);
        QVERIFY(open.first().endsWith(QStringLiteral("(*.txt *.rle *.cells *.lif *.life)")));
        QVERIFY(open.last().endsWith(QStringLiteral("(*)")));
        QCOMPARE(log.filters[1], saveFilters());
        QVERIFY(log.filters[1][1].endsWith(QStringLiteral("(*.rle)")));
        QVERIFY(log.filters[1][2].endsWith(QStringLiteral("(*.cells)")));
    }

    void theFilterGivesTheFormatWhenTheNameHasNoExtension() {
        Board& b = form->board();
        b.Cells[1][0] = b.Cells[2][1] = b.Cells[0][2] = kAlive;
        clickSave(QStringLiteral("узор"), 1);
        QVERIFY(contents(QStringLiteral("узор.rle"))
                    .contains("x = 40, y = 40, rule = B3/S23\nbo$2bo$o!\n"));
        clickSave(QStringLiteral("узор"), 2);
        QVERIFY(contents(QStringLiteral("узор.cells")).startsWith("!Name: узор\n"));
        clickSave(QStringLiteral("доска"), 0);
        QCOMPARE(contents(QStringLiteral("доска.txt")).size(), 5047);
        // A typed extension wins over the filter.
        clickSave(QStringLiteral("своё.cells"), 1);
        QVERIFY(contents(QStringLiteral("своё.cells")).startsWith("!Name: своё\n"));
        QVERIFY(log.errors.isEmpty());
        clickSave(QStringLiteral("узор.lif"), 1);
        QCOMPARE(log.errors.size(), 1);
        QVERIFY(
            log.errors.last().startsWith(QStringLiteral("Тивла читает файлы Life 1.06 и 1.05")));
        QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("узор.lif"))));
    }

    void anOpenedPatternKeepsTheSizeWhenItFitsOrTakesTheSmallestThatHoldsIt() {
        QTest::mouseClick(control("SpeedButton13"), Qt::LeftButton); // 80x80
        form->board().Generation = 7;
        clickOpen(write(QStringLiteral("glider.rle"), "x = 3, y = 3\nbo$2bo$3o!\n"));
        Board& b = form->board();
        QCOMPARE(b.BoardSize, 80);
        // The dialog's preview says where the pattern will open from the same size.
        QCOMPARE(log.openBoardSizes, QList<int>{80});
        QCOMPARE(b.Generation, 0);
        QCOMPARE(aliveCount(), 5);
        QVERIFY(b.isAlive(39, 38) && b.isAlive(40, 39) && b.isAlive(38, 40));

        clickOpen(write(QStringLiteral("wide.cells"), QByteArray(101, 'O') + "\n"));
        QCOMPARE(b.BoardSize, 150);
        QCOMPARE(form->formState().CellSize, 4);
        QCOMPARE(control<StringGrid>("StringGrid1")->size(), QSize(750, 750));
        QCOMPARE(aliveCount(), 101);
        QVERIFY(b.isAlive(24, 74) && b.isAlive(124, 74) && !b.isAlive(125, 74));
        QVERIFY(log.errors.isEmpty());
    }

    void aRefusedPatternLeavesTheClearedBoardAndSaysWhere() {
        QTest::mouseClick(control("SpeedButton10"), Qt::LeftButton); // 50x50
        form->board().Cells[3][3] = kAlive;
        clickOpen(write(QStringLiteral("multi.rle"), "#C\nx = 2, y = 1\nAB!\n"));
        QCOMPARE(log.errors.size(), 1);
        QCOMPARE(log.errors.last(),
                 QStringLiteral("Строка 3: в узоре RLE клетка в состоянии «A»; Тивла знает только "
                                "живые (o) и мёртвые (b) клетки, узоры со многими состояниями она "
                                "не читает. Узор не загружен, поле осталось пустым."));
        QCOMPARE(form->board().BoardSize, 50);
        QCOMPARE(aliveCount(), 0);
    }

    void aDroppedFileOpensLikeTheOpenCommand() {
        const QString first = write(QStringLiteral("first.cells"), "OO\nOO\n");
        const QString second = write(QStringLiteral("second.cells"), "O\n");
        form->board().Cells[0][0] = kAlive;
        QVERIFY(!drop({QUrl(QStringLiteral("https://example.org/x.rle"))}));
        QVERIFY(form->board().isAlive(0, 0));

        QVERIFY(drop({QUrl(QStringLiteral("https://example.org/x.rle")), QUrl::fromLocalFile(first),
                      QUrl::fromLocalFile(second)}));
        QTRY_COMPARE(aliveCount(), 4);
        QVERIFY(!form->board().isAlive(0, 0));
        QVERIFY(form->board().isAlive(19, 19) && form->board().isAlive(20, 20));

        // A name in KOI8-R or CP1251, as the file manager gives it: percent-encoded bytes.
        const QByteArray notUtf8 = QFile::encodeName(dir->path()) + "/\xE0\xF4.cells";
        QVERIFY(std::ofstream(notUtf8.toStdString()) << "O\nO\n");
        const auto removeIt = qScopeGuard([&] { std::remove(notUtf8.constData()); });
        QVERIFY(drop({QUrl::fromEncoded("file://" + notUtf8.toPercentEncoding("/"))}));
        QTRY_COMPARE(aliveCount(), 2);

        QVERIFY(drop({QUrl::fromLocalFile(dir->filePath(QStringLiteral("нет.rle")))}));
        QTRY_COMPARE(log.errors.size(), 1);
        QCOMPARE(log.errors.last(), QStringLiteral("File not found."));
        QCOMPARE(aliveCount(), 0);
    }

    // The open dialog's preview of files of each kind: its texts, its picture in the window's
    // colours, the open command's own refusals, and only the last file chosen shown.
    void thePreviewShowsWhatTheOpenWouldDo() {
        write(QStringLiteral("glider.rle"), "#N Glider\n#O Richard Guy\n#C first\n#C second\n"
                                            "x = 45, y = 45, rule = B3/S23\nbo$2bo$3o42$44bo!\n");
        write(QStringLiteral("diehard.cells"), "!seven cells\n......O\nOO\n.O...OOO\n");
        // (1, 1) alive, and (2, 2) beyond the board, stored but never shown.
        write(QStringLiteral("board.txt"), "2\n0\n0\n0\n0\n1\n0\n0\n0\n1\n");
        write(QStringLiteral("rule.rle"), "x = 1, y = 1, rule = B36/S23\no!");
        write(QStringLiteral("large.txt"), "300\n");
        QVERIFY(::mkfifo(qPrintable(dir->filePath(QStringLiteral("pipe.rle"))), 0600) == 0);
        // The picture's size in cells, a live cell at its top-left; empty when there is none.
        const struct {
            const char* file;
            QString texts;
            QRect picture;
        } cases[] = {
            {"glider.rle",
             "Glider|Автор: Richard Guy|first\nsecond|Узор 45 x 45 откроется на поле 50 x 50.|",
             {2, 1, 47, 47}},
            {"diehard.cells",
             "diehard.cells||seven cells|Узор 8 x 3 откроется на поле 40 x 40.|",
             {7, 1, 10, 5}},
            {"board.txt", "board.txt|||Откроется поле 2 x 2.|", {1, 1, 2, 2}},
            {"rule.rle",
             "rule.rle||||Строка 1: правило «B36/S23» не поддерживается: Тивла считает поколения "
             "только по правилам Конвея B3/S23. Узор не загружен, поле осталось пустым.",
             {}},
            {"large.txt",
             "large.txt||||Недопустимый размер поля: 300. Размер должен быть от 1 до 200.",
             {}},
            // Never opened: a pipe would hold the reading until a writer came.
            {"pipe.rle", "pipe.rle||||File access denied.", {}},
            {"", "||||", {}}, // the folder
        };
        FilePreviewPanel panel(40, nullptr);
        // Chosen and passed over at once: only the glider, chosen next, is shown.
        panel.showFile(dir->filePath(QStringLiteral("rule.rle")));
        for (const auto& c : cases) {
            const QString path = dir->filePath(QString::fromUtf8(c.file));
            QSignalSpy shown(&panel, &FilePreviewPanel::shown);
            panel.showFile(path);
            QVERIFY2(shown.wait(5000) && shown.constFirst().constFirst() == path, c.file);
            QCOMPARE(texts(panel), c.texts);
            const QPixmap picture = panel.findChild<QLabel*>(QStringLiteral("picture"))->pixmap();
            // Square cells of whole pixels, as large as the panel's square allows.
            const QSize cells = c.picture.size();
            const int side = std::max(std::max(cells.width(), cells.height()), 1);
            const int cell = FilePreviewPanel::kPictureSide / side;
            QCOMPARE(picture.size(), cells * cell);
            const QPoint alive = c.picture.topLeft() * cell + QPoint(cell / 2, cell / 2);
            QVERIFY2(cells.isEmpty() || picture.toImage().pixelColor(alive) == kAliveColour,
                     c.file);
        }
    }
};

QTEST_MAIN(PatternFilesTest)
#include "PatternFilesTest.moc"
