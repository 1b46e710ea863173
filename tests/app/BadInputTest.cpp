// Bad input to the number boxes and the fill count, and what must hold after each: a clear
// message, the program still running, the board and the counters as they were.
#include "MainWindowFixture.h"

#include "app/RunTimer.h"
#include "app/SpinEdit.h"
#include "app/WindowColours.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

using namespace tivla;

namespace {

QString invalidInteger(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value.").arg(text);
}

} // namespace

class BadInputTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow(true)); }
    void cleanup() { closeWindow(); }

    // --- Number boxes --------------------------------------------------------------------

    void textThatIsNoIntegerIsReportedAndChangesNothing_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("byPaste");
        const QStringList texts = {QStringLiteral("abc"),         QStringLiteral("-"),
                                   QStringLiteral("$"),           QStringLiteral("2147483648"),
                                   QStringLiteral("99999999999"), QStringLiteral("12 monkeys")};
        for (int box = 1; box <= 3; ++box) {
            for (const QString& text : texts) {
                const bool byPaste = texts.indexOf(text) % 2 == 0;
                QTest::addRow("Edit%d %s by %s", box, qPrintable(text),
                              byPaste ? "paste" : "insert")
                    << box << text << byPaste;
            }
        }
        QTest::newRow("Edit2 blank") << 2 << QStringLiteral(" ") << true;
    }

    // The interval and n boxes refuse such text from the keyboard, so it arrives by pasting.
    void textThatIsNoIntegerIsReportedAndChangesNothing() {
        auto* timer = control<RunTimer>("Timer1");
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(bool, byPaste);
        placeBlinker();
        form->board().Cells[7][8] = kAlive; // only a repaint would show it

        QLineEdit* edit = numberBox(box);
        byPaste ? paste(edit, text) : insert(edit, text);
        if (box == 2) {
            QTest::mouseClick(control("SpeedButton16"), Qt::LeftButton);
        } else if (box == 3) {
            QTest::mouseClick(control("SpeedButton15"), Qt::LeftButton);
        }

        QStringList expected{invalidInteger(text)};
        if (box == 3) {
            expected << invalidInteger(text); // once as it changed, once when the command ran
        }
        QCOMPARE(log.errors, expected);
        QCOMPARE(edit->text(), text);
        QCOMPARE(timer->interval(), 500);
        QVERIFY(!timer->enabled());
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(form->formState().StepsToRun, 0);
        QVERIFY(form->board().isAlive(11, 10) && !form->board().isAlive(11, 9));
        QVERIFY(control<StringGrid>("StringGrid1")->snapshot().pixelColor(cellCentre(7, 8)) !=
                kAliveColour);
    }

    void intervalsTheTimerCannotCountDown_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("ticking");
        QTest::newRow("negative") << QStringLiteral("-5") << -5 << false;
        QTest::newRow("hexadecimal all ones") << QStringLiteral("$FFFFFFFF") << -1 << false;
        QTest::newRow("most negative") << QStringLiteral("-2147483648") << INT_MIN << false;
        QTest::newRow("largest") << QStringLiteral("2147483647") << INT_MAX << true;
    }

    // The classic timer reads the interval as unsigned: a negative one never comes round. The
    // board must neither tick nor spin, stay "running", and resume on a usable interval.
    void intervalsTheTimerCannotCountDown() {
        auto* timer = control<RunTimer>("Timer1");
        auto* intervalBox = control<QLineEdit>("Edit1");
        QFETCH(QString, text);
        QFETCH(int, interval);
        QFETCH(bool, ticking);
        placeBlinker();
        paste(intervalBox, text);
        QCOMPARE(timer->interval(), interval);
        QTest::mouseClick(control("SpeedButton7"), Qt::LeftButton);
        QSignalSpy ticks(timer, &RunTimer::timeout);
        QTest::qWait(100);
        QCOMPARE(ticks.count(), 0);
        QCOMPARE(timer->ticking(), ticking);
        QVERIFY(timer->enabled());
        QVERIFY(control<QToolButton>("SpeedButton18")->isVisible());
        QCOMPARE(form->board().Generation, 0);

        paste(intervalBox, QStringLiteral("5"));
        QTRY_VERIFY_WITH_TIMEOUT(form->board().Generation > 0, 2000);
        QTest::mouseClick(control("SpeedButton18"), Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
    }

    void batchCountsBelowOneAdvanceNothingButRepaint_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("steps");
        QTest::newRow("negative") << QStringLiteral("-5") << -5;
        QTest::newRow("hexadecimal all ones") << QStringLiteral("$FFFFFFFF") << -1;
        QTest::newRow("most negative") << QStringLiteral("-2147483648") << INT_MIN;
    }

    void batchCountsBelowOneAdvanceNothingButRepaint() {
        QFETCH(QString, text);
        QFETCH(int, steps);
        placeBlinker();
        form->board().Cells[7][8] = kAlive;
        paste(control<QLineEdit>("Edit2"), text);
        QTest::mouseClick(control("SpeedButton16"), Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
        QCOMPARE(form->formState().StepsToRun, steps);
        QCOMPARE(form->board().Generation, 0);
        QVERIFY(form->board().isAlive(11, 10) && !form->board().isAlive(11, 9));
        QCOMPARE(control<StringGrid>("StringGrid1")->snapshot().pixelColor(cellCentre(7, 8)),
                 kAliveColour);
    }

    // A batch of 2147483647 would run for minutes; the target box shows that the largest
    // number is taken as one, from a generation just below it.
    void theLargestCountsAreNumbers() {
        auto* steps = control<QLineEdit>("Edit2");
        auto* target = control<QLineEdit>("Edit3");
        steps->setFocus();
        steps->selectAll();
        QTest::keyClicks(steps, QStringLiteral("2147483647"));
        QCOMPARE(steps->text(), QStringLiteral("2147483647"));

        placeBlinker();
        form->board().Generation = INT_MAX - 1;
        paste(target, QStringLiteral("2147483647"));
        QCOMPARE(target->text(), QStringLiteral("2147483647"));
        QTest::mouseClick(control("SpeedButton15"), Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
        QCOMPARE(form->formState().StepsToRun, 1);
        QCOMPARE(form->board().Generation, INT_MAX);
        QVERIFY(form->board().isAlive(11, 9)); // the blinker turned once
    }

    // --- The fill count ------------------------------------------------------------------

    void theFillEndsWithWhatFits_data() {
        QTest::addColumn<int>("typedOn");
        QTest::addColumn<int>("boardSize");
        QTest::addColumn<int>("aliveBefore");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("placed");
        QTest::addColumn<QString>("message");
        const QString shortfall =
            QStringLiteral("Хозяин! Свободных клеток хватило только на %1 из %2.");
        const QString three = QStringLiteral("3");
        QTest::newRow("empty field") << 40 << 40 << 0 << QString() << QString() << 3 << QString();
        QTest::newRow("lone minus")
            << 40 << 40 << 0 << QStringLiteral("-") << QStringLiteral("-") << 3 << QString();
        QTest::newRow("lone plus")
            << 40 << 40 << 0 << QStringLiteral("+") << QStringLiteral("+") << 3 << QString();
        QTest::newRow("letters") << 40 << 40 << 0 << QStringLiteral("abc") << three << 3
                                 << QString();
        QTest::newRow("above N x N")
            << 10 << 10 << 0 << QStringLiteral("150") << QStringLiteral("100") << 100 << QString();
        QTest::newRow("left above N x N by a smaller board")
            << 80 << 10 << 0 << QStringLiteral("2550") << QStringLiteral("2550") << 100
            << shortfall.arg(100).arg(2550);
        QTest::newRow("more than the empty cells")
            << 10 << 10 << 98 << three << three << 2 << shortfall.arg(2).arg(3);
        QTest::newRow("a full board") << 10 << 10 << 100 << three << three << 0
                                      << QStringLiteral("Хозяин! Свободных клеток не осталось.");
        QTest::newRow("one cell") << 1 << 1 << 0 << three << three << 1 << shortfall.arg(1).arg(3);
    }

    void theFillEndsWithWhatFits() {
        auto* fillCount = control<SpinEdit>("SpinEdit1");
        QFETCH(int, typedOn);
        QFETCH(int, boardSize);
        QFETCH(int, aliveBefore);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(int, placed);
        QFETCH(QString, message);
        loadEmptyBoard(typedOn);
        // Pasted: typing would correct each keystroke on its way ("2" becomes "3" at once).
        paste(fillCount->findChild<QLineEdit*>(), typed);
        if (boardSize != typedOn) {
            loadEmptyBoard(boardSize);
        }
        QCOMPARE(fillCount->text(), field);
        for (int i = 0; i < aliveBefore; ++i) {
            form->board().Cells[i / boardSize][i % boardSize] = kAlive;
        }

        QTest::mouseClick(control("SpeedButton4"), Qt::LeftButton);
        QCOMPARE(log.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(aliveCount(boardSize), aliveBefore + placed);
        for (int i = 0; i < aliveBefore; ++i) {
            QVERIFY(form->board().isAlive(i / boardSize, i % boardSize));
        }
        QCOMPARE(aliveCount(boardSize + 1), aliveCount(boardSize)); // nothing beyond the board
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(form->board().Population, 0);
        QCOMPARE(control<ValueLabel>("Label2")->text(), QString());
        QVERIFY(log.errors.isEmpty());
    }

private:
    QLineEdit* numberBox(int box) const {
        return control<QLineEdit>(QStringLiteral("Edit%1").arg(box));
    }
    // Select everything and paste over it, as a user replacing the box's number would.
    static void paste(QLineEdit* edit, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        edit->setFocus();
        edit->selectAll();
        edit->paste();
    }
    static void insert(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        edit->insert(text);
    }
    void loadEmptyBoard(int size) {
        log.nextOpen = write(QStringLiteral("пустая.txt"), QByteArray::number(size) + "\r\n");
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(form->board().BoardSize, size);
    }
    QPoint cellCentre(int col, int row) const {
        return control<StringGrid>("StringGrid1")->cellRect(col, row).center();
    }
};

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
