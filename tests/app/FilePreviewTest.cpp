// The open dialog's preview panel over files of each kind: the texts it shows, its picture in
// the window's colours, the open command's own refusals, and only the last file chosen shown.
#include "app/FilePreviewPanel.h"
#include "app/WindowColours.h"
#include "tests/support/TempDirectory.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

namespace tivla {

using test::TempDirectory;
using test::writeFile;

class FilePreviewTest : public QObject {
    Q_OBJECT

private slots:
    void showsWhatTheOpenWouldDo();
};

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

bool showFileAndWait(FilePreviewPanel& panel, const QString& path) {
    QSignalSpy shown(&panel, &FilePreviewPanel::shown);
    panel.showFile(path);
    return shown.wait(5000) && shown.constFirst().constFirst().toString() == path;
}

} // namespace

void FilePreviewTest::showsWhatTheOpenWouldDo() {
    const TempDirectory folder;
    writeFile(folder.file("glider.rle"), "#N Glider\n#O Richard Guy\n#C first\n#C second\n"
                                         "x = 45, y = 45, rule = B3/S23\nbo$2bo$3o42$44bo!\n");
    writeFile(folder.file("diehard.cells"), "!seven cells\n......O\nOO\n.O...OOO\n");
    // (1, 1) alive, and (2, 2) beyond the board, stored but never shown.
    writeFile(folder.file("board.txt"), "2\n0\n0\n0\n0\n1\n0\n0\n0\n1\n");
    writeFile(folder.file("rule.rle"), "x = 1, y = 1, rule = B36/S23\no!");
    writeFile(folder.file("large.txt"), "300\n");
    QVERIFY(::mkfifo(folder.file("pipe.rle").c_str(), 0600) == 0);
    const struct {
        const char* file;
        QString texts;
        QSize cells; // the picture before scaling; empty when there is none
        QPoint alive;
    } cases[] = {
        {"glider.rle",
         "Glider|Автор: Richard Guy|first\nsecond|Узор 45 x 45 откроется на поле 50 x 50.|",
         {47, 47},
         {2, 1}},
        {"diehard.cells",
         "diehard.cells||seven cells|Узор 8 x 3 откроется на поле 40 x 40.|",
         {10, 5},
         {7, 1}},
        {"board.txt", "board.txt|||Откроется поле 2 x 2.|", {2, 2}, {1, 1}},
        {"rule.rle",
         "rule.rle||||Строка 1: правило «B36/S23» не поддерживается: Тивла считает поколения "
         "только по правилам Конвея B3/S23. Узор не загружен, поле осталось пустым.",
         {},
         {}},
        {"large.txt",
         "large.txt||||Недопустимый размер поля: 300. Размер должен быть от 1 до 200.",
         {},
         {}},
        // Never opened: a pipe would hold the reading until a writer came.
        {"pipe.rle", "pipe.rle||||File access denied.", {}, {}},
        {"", "||||", {}, {}},
    };
    FilePreviewPanel panel(40, nullptr);
    // Chosen and passed over at once: only the glider, chosen next, is shown.
    panel.showFile(QString::fromStdString(folder.file("rule.rle")));
    for (const auto& c : cases) {
        QVERIFY2(showFileAndWait(panel, QString::fromStdString(folder.file(c.file))), c.file);
        QCOMPARE(texts(panel), c.texts);
        const QPixmap picture = panel.findChild<QLabel*>(QStringLiteral("picture"))->pixmap();
        if (c.cells.isEmpty()) {
            QVERIFY2(picture.isNull(), c.file);
            continue;
        }
        // Square cells of whole pixels, as large as the panel's square allows.
        const int cell =
            FilePreviewPanel::kPictureSide / std::max(c.cells.width(), c.cells.height());
        QCOMPARE(picture.size(), c.cells * cell);
        const QImage image = picture.toImage();
        const QPoint centre(cell / 2, cell / 2);
        QVERIFY2(image.pixelColor(c.alive * cell + centre) == kAliveColour, c.file);
        QVERIFY2(image.pixelColor(centre) == kBoardColour, c.file);
    }
}

} // namespace tivla

QTEST_MAIN(tivla::FilePreviewTest)
#include "FilePreviewTest.moc"
