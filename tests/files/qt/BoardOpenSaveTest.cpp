// Open and save through the paths the file dialogs hand over, and the example boards.
#include "files/qt/BoardOpenSave.h"
#include "app/FormState.h"
#include "engine/Board.h"
#include "files/BoardFileWriter.h"
#include "tests/support/Boards.h"
#include "tests/support/RecordingPainter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/FileSizeLimit.h"

#include <memory>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace tivla;
using tivla::test::RecordingPainter;

namespace {

// A 40 x 40 board with a glider, a few scattered cells and one cell in the extra column.
std::unique_ptr<Board> sampleBoard() {
    auto board = test::boardOfSize();
    for (auto [x, y] :
         {std::pair{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {39, 39}, {17, 23}, {40, 5}}) {
        board->Cells[x][y] = kAlive;
    }
    return board;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

QString messageOf(const std::optional<FileError>& error) {
    // As the error box shows it: the full stop is the box's.
    return error ? QString::fromStdString(error->messageText()) : QStringLiteral("no error");
}

constexpr rlim_t kTinyFileLimit = 1000;

} // namespace

class BoardOpenSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void cleanup() { dir_.reset(); }

    void aSavedBoardLoadsBackCellForCell() {
        const auto saved = sampleBoard();
        const QString path = dir_->filePath(QStringLiteral("доска 40.txt"));
        QCOMPARE(saveBoardToFile(path, *saved), std::nullopt);
        const QByteArray bytes = contents(path);
        QCOMPARE(bytes.size(), 5047);
        QCOMPARE(bytes.count("\r\n"), 1682);
        QVERIFY(bytes.startsWith("40\r\n"));

        auto loaded = test::boardOfSize();
        loaded->BoardSize = 100;
        FormState form;
        form.CellSize = 5;
        RecordingPainter painter;
        int resizes = 0;
        int paintsBeforeResize = -1;
        const auto error = loadBoardFromFile(path, *loaded, painter, [&] {
            ++resizes;
            paintsBeforeResize = static_cast<int>(painter.alive.size());
            form.followBoardSize(loaded->BoardSize);
        });
        QCOMPARE(messageOf(error), QStringLiteral("no error"));
        QCOMPARE(resizes, 1);
        QCOMPARE(paintsBeforeResize, 0);
        QCOMPARE(loaded->BoardSize, 40);
        QCOMPARE(form.CellSize, 15);
        for (int x = 0; x <= 40; ++x) {
            for (int y = 0; y <= 40; ++y) {
                QCOMPARE(loaded->Cells[x][y], saved->Cells[x][y]);
            }
        }
        QCOMPARE(painter.alive.size(), std::size_t{8});
        QCOMPARE(painter.alive.back(), std::pair(40, 5)); // column by column, as read
    }

    void aFailedSaveLeavesTheOldFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        // A write cut short half-way: EFBIG has no classic number.
        QTest::newRow("write fails") << "file size limit"
                                     << "I/O error 27.";
        QTest::newRow("read-only file") << "read-only file"
                                        << "File access denied.";
        QTest::newRow("folder chosen as the file") << "folder"
                                                   << "File access denied.";
    }

    void aFailedSaveLeavesTheOldFile() {
        QFETCH(QString, how);
        QFETCH(QString, expected);
        const QString folder = dir_->filePath(QStringLiteral("примеры"));
        QVERIFY(QDir().mkdir(folder));
        QString path = folder + QStringLiteral("/старая.txt");
        const QByteArray old = "80\r\n0\r\n1\r\n";
        QVERIFY(write(path, old));

        std::unique_ptr<FileSizeLimit> limit;
        if (how == QLatin1String("file size limit")) {
            limit = std::make_unique<FileSizeLimit>(kTinyFileLimit);
        } else if (how == QLatin1String("read-only file")) {
            if (::geteuid() == 0) {
                QSKIP("permissions don't stop root");
            }
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        } else {
            path = folder;
        }
        const auto error = saveBoardToFile(path, *sampleBoard());
        limit.reset();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(messageOf(error), expected);
        QCOMPARE(entries(folder), QStringList{QStringLiteral("старая.txt")});
        QCOMPARE(contents(folder + QStringLiteral("/старая.txt")), old);
    }

    void failuresAreNamed_data() {
        QTest::addColumn<bool>("saving");
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<QString>("expected");
        QTest::newRow("open a missing file") << false << "нет такого.txt"
                                             << "File not found.";
        QTest::newRow("open a folder") << false << "папка"
                                       << "File access denied.";
        QTest::newRow("open inside a file") << false << "файл/доска.txt"
                                            << "Invalid filename.";
        QTest::newRow("save into a missing folder") << true << "нет/доска.txt"
                                                    << "File not found.";
        QTest::newRow("save inside a file") << true << "файл/доска.txt"
                                            << "Invalid filename.";
    }

    void failuresAreNamed() {
        QFETCH(bool, saving);
        QFETCH(QString, relativePath);
        QFETCH(QString, expected);
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("папка")));
        QVERIFY(write(dir_->filePath(QStringLiteral("файл")), "40\r\n"));
        const QString path = dir_->filePath(relativePath);

        if (saving) {
            QCOMPARE(messageOf(saveBoardToFile(path, *sampleBoard())), expected);
        } else {
            auto board = sampleBoard();
            RecordingPainter painter;
            bool resized = false;
            const auto error = loadBoardFromFile(path, *board, painter, [&] { resized = true; });
            QCOMPARE(messageOf(error), expected);
            QVERIFY(!resized);
            QVERIFY(painter.alive.empty());
            QCOMPARE(board->BoardSize, 40);
        }
        QCOMPARE(entries(dir_->path()).size(), 2);
        QVERIFY(QDir(dir_->filePath(QStringLiteral("папка"))).isEmpty());
    }

    // The boards shipped in "примеры" must load whole and be exactly what a save writes.
    void exampleBoardsLoadAsSaved() {
        const QDir examples(QStringLiteral(TIVLA_EXAMPLES_DIR));
        const QStringList names = examples.entryList({QStringLiteral("*.txt")}, QDir::Files);
        QVERIFY(names.size() >= 5);
        for (const QString& name : names) {
            auto board = test::boardOfSize();
            RecordingPainter painter;
            const auto error = loadBoardFromFile(examples.filePath(name), *board, painter, [] {});
            QVERIFY2(!error, qPrintable(name));
            QVERIFY2(name.contains(QStringLiteral(" %1x%1.").arg(board->BoardSize)),
                     qPrintable(name));
            QVERIFY2(!painter.alive.empty(), qPrintable(name));
            const std::string text = boardFileText(*board);
            QVERIFY2(contents(examples.filePath(name)) == QByteArray::fromStdString(text),
                     qPrintable(name));
        }
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_MAIN(BoardOpenSaveTest)
#include "BoardOpenSaveTest.moc"
