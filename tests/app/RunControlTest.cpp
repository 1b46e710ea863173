// Start and stop, the three number boxes, and the two batch commands.
#include "MainWindowFixture.h"

#include "app/RunTimer.h"
#include "app/WindowColours.h"
#include "view/PopulationChart.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>

using namespace tivla;

class RunControlTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void startAndStopBringBackTheStartingState() {
        auto* start = control<QToolButton>("SpeedButton7");
        auto* stop = control<QToolButton>("SpeedButton18");
        auto* timer = control<RunTimer>("Timer1");
        form->board().NeighbourCounts[0][0] = 3;
        form->board().NeighbourCounts[42][42] = 2; // N + 2 on 40x40
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(timer->enabled());
        QVERIFY(stop->isVisible());
        QVERIFY(!start->isVisible());
        QCOMPARE(form->board().NeighbourCounts[0][0], 0);
        QCOMPARE(form->board().NeighbourCounts[42][42], 0);
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(!timer->enabled());
        QVERIFY(!stop->isVisible());
        QVERIFY(start->isVisible());
    }

    void intervalZeroStopsTicksButNotTheRunState() {
        auto* interval = control<QLineEdit>("Edit1");
        interval->setText(QStringLiteral("0"));
        QTest::mouseClick(control("SpeedButton7"), Qt::LeftButton);
        QTest::qWait(60);
        QCOMPARE(form->board().Generation, 0);
        QVERIFY(control<QToolButton>("SpeedButton18")->isVisible());
        interval->setText(QStringLiteral("2"));
        QTRY_VERIFY_WITH_TIMEOUT(form->board().Generation > 0, 2000);
    }

    void numberBoxesLetOnlyDigitsAndBackspaceThrough() {
        for (QLineEdit* edit : {control<QLineEdit>("Edit1"), control<QLineEdit>("Edit2")}) {
            edit->setFocus();
            edit->setText(QStringLiteral("12"));
            edit->end(false);
            QTest::keyClick(edit, Qt::Key_A);
            QTest::keyClick(edit, Qt::Key_Minus);
            QTest::keyClick(edit, Qt::Key_Space);
            QTest::keyClick(edit, Qt::Key_3);
            QCOMPARE(edit->text(), QStringLiteral("123"));
            QTest::keyClick(edit, Qt::Key_Backspace);
            QCOMPARE(edit->text(), QStringLiteral("12"));
            QTest::keyClick(edit, Qt::Key_Tab); // moves on, as in every other box
            QVERIFY(!edit->hasFocus());
        }
        // Input methods, dead keys and dragged text reach the text without a key press.
        for (QLineEdit* edit : {control<QLineEdit>("Edit1"), control<QLineEdit>("Edit2")}) {
            edit->setText(QStringLiteral("12"));
            edit->end(false);
            QInputMethodEvent composed;
            composed.setCommitString(QStringLiteral("1é3"));
            QApplication::sendEvent(edit, &composed);
            QCOMPARE(edit->text(), QStringLiteral("1213"));
            for (const QString& dragged : {QStringLiteral("7x"), QStringLiteral("45")}) {
                QMimeData data;
                data.setText(dragged);
                QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(edit, &enter);
                QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(edit, &drop);
            }
            QVERIFY2(!edit->text().contains(QLatin1Char('x')), qPrintable(edit->text()));
            QVERIFY2(edit->text().contains(QStringLiteral("45")), qPrintable(edit->text()));
        }
        // The target box has no filter.
        auto* target = control<QLineEdit>("Edit3");
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A);
        QVERIFY(target->text().endsWith(QLatin1Char('a')));
    }

    void emptiedBoxesAreCorrected() {
        auto* interval = control<QLineEdit>("Edit1");
        auto* target = control<QLineEdit>("Edit3");
        interval->clear();
        QCOMPARE(interval->text(), QStringLiteral("1"));
        QCOMPARE(control<RunTimer>("Timer1")->interval(), 1);
        advance(3);
        target->setFocus();
        target->selectAll();
        QTest::keyClick(target, Qt::Key_2);
        QCOMPARE(target->text(), QStringLiteral("4"));
        target->clear();
        QCOMPARE(target->text(), QStringLiteral("4"));
        QVERIFY(log.errors.isEmpty());
    }

    void unreadableNumbersReportAndChangeNothing() {
        auto* steps = control<QLineEdit>("Edit2");
        auto* target = control<QLineEdit>("Edit3");
        steps->setText(QString());
        QTest::mouseClick(control("SpeedButton16"), Qt::LeftButton);
        QCOMPARE(log.errors, QStringList{QStringLiteral("'' is not a valid integer value.")});
        QCOMPARE(form->board().Generation, 0);

        target->setText(QStringLiteral("abc"));
        QCOMPARE(log.errors.last(), QStringLiteral("'abc' is not a valid integer value."));
        QCOMPARE(target->text(), QStringLiteral("abc"));

        steps->setText(QStringLiteral("99999999999")); // beyond 32 bits, as if pasted
        QTest::mouseClick(control("SpeedButton16"), Qt::LeftButton);
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(log.errors.size(), 3);
    }

    void batchesAdvanceAndFeedTheOpenStatisticsPanel() {
        clickStatisticsCaption();
        form->board().Cells[10][10] = form->board().Cells[11][10] = form->board().Cells[12][10] =
            kAlive;
        advance(25);
        QCOMPARE(form->board().Generation, 25);
        QCOMPARE(form->formState().StepsToRun, 25);
        QCOMPARE(int(control<PopulationChart>("Chart1")->series().count()), 25);
        QCOMPARE(control<ValueLabel>("Label5")->text(), QStringLiteral("25"));
        QCOMPARE(control<ValueLabel>("Label2")->text(), QStringLiteral("3"));
        QVERIFY(form->board().isAlive(11, 9)); // the blinker stands upright after 25 steps

        control<QLineEdit>("Edit3")->setText(QStringLiteral("30"));
        QTest::mouseClick(control("SpeedButton15"), Qt::LeftButton);
        QCOMPARE(form->board().Generation, 30);
        QCOMPARE(form->formState().StepsToRun, 5);
        // A target already reached advances nothing.
        QTest::mouseClick(control("SpeedButton15"), Qt::LeftButton);
        QCOMPARE(form->board().Generation, 30);
    }

    void aShutStatisticsPanelIsLeftAloneWhileGenerationsGoOn() {
        auto* chart = control<PopulationChart>("Chart1");
        clickStatisticsCaption();
        tick();
        clickStatisticsCaption();
        tick();
        QCOMPARE(form->board().Generation, 2);
        QCOMPARE(control<ValueLabel>("Label5")->text(), QStringLiteral("1"));
        QCOMPARE(int(chart->series().count()), 1);
        clickStatisticsCaption();
        tick();
        QCOMPARE(int(chart->series().count()), 2);
        QCOMPARE(chart->series().x(1), std::int64_t{3}); // generation 2 has no point
    }

    void advanceToFromThreeToTen() {
        advance(3);
        control<QLineEdit>("Edit3")->setText(QStringLiteral("10"));
        QTest::mouseClick(control("SpeedButton15"), Qt::LeftButton);
        QCOMPARE(form->formState().StepsToRun, 7);
        QCOMPARE(form->board().Generation, 10);
    }

    void aBatchWhileRunningLeavesTheBoardRunning() {
        control<QLineEdit>("Edit1")->setText(QStringLiteral("5"));
        QTest::mouseClick(control("SpeedButton7"), Qt::LeftButton);
        advance(100);
        QVERIFY(control<RunTimer>("Timer1")->enabled());
        const int after = form->board().Generation;
        QVERIFY(after >= 100);
        QTRY_VERIFY_WITH_TIMEOUT(form->board().Generation > after, 2000);
    }

    void aBatchRepaintsTheWholeBoard() {
        form->board().Cells[7][8] = kAlive; // set behind the view's back
        control<QLineEdit>("Edit2")->setText(QStringLiteral("0"));
        QTest::mouseClick(control("SpeedButton16"), Qt::LeftButton);
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(control<StringGrid>("StringGrid1")->snapshot().pixelColor(7 * 16 + 3, 8 * 16 + 3),
                 kAliveColour);
    }
};

QTEST_MAIN(RunControlTest)
#include "RunControlTest.moc"
