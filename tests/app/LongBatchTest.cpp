// Long batches in the window: billions of generations with the statistics panel open, and the
// progress window that lets a batch be stopped at a generation boundary.
#include "MainWindowFixture.h"

#include "app/BatchProgressWindow.h"
#include "app/RunTimer.h"
#include "engine/BatchRunner.h"
#include "tests/support/Boards.h"
#include "tests/view/ChartPixels.h"
#include "view/PopulationChart.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

using namespace tivla;

namespace {

// Counts the paints one widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class LongBatchTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void twoBillionGenerationsWithThePanelOpenFinish() {
        QTest::mouseClick(control("SpeedButton14"), Qt::LeftButton); // 200 x 200
        openStatistics();
        fillRandomly(200, 35);
        const auto start = std::make_unique<Board>(form->board());
        QElapsedTimer clock;
        clock.start();
        batch(QStringLiteral("2000000000"));
        qInfo("2,000,000,000 generations on 200 x 200, panel open: %lld ms", clock.elapsed());

        runBatch(*start, 2'000'000'000, NoStatistics{});
        const std::string difference = test::difference(*start, form->board());
        QVERIFY2(difference.empty(), difference.c_str());
        QCOMPARE(control<ValueLabel>("Label5")->text(), QStringLiteral("2000000000"));
        QCOMPARE(control<ValueLabel>("Label10")->text(), QString::number(start->MaxPopulation));
        const AreaSeries& series = control<PopulationChart>("Chart1")->series();
        QCOMPARE(series.count(), std::size_t{2'000'000'000});
        QVERIFY(series.memoryUsed() < AreaSeries::kMemoryBudget);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void theChartStaysFlatOnceTheCounterHasWrapped() {
        openStatistics();
        fillRandomly(40, 35);
        for (int i = 0; i < 3; ++i) {
            batch(QStringLiteral("2147483647"));
        }
        auto* chart = control<PopulationChart>("Chart1");
        const std::size_t memory = chart->series().memoryUsed();
        int highest = 0;
        for (int i = 0; i < 21000; ++i) {
            tick();
            highest = std::max(highest, form->board().Population);
        }
        QCOMPARE(chart->series().memoryUsed(), memory);
        QCOMPARE(chart->bottomAxis().maximum, 3 * 2147483647.0 + 21000);
        // Past the first column's transient, every column holds whole periods of the cycle.
        const auto height = static_cast<int>(std::lround((highest - 3) * 177.0 / (1600 - 3)));
        auto heights = test::areaHeights(*chart);
        heights.erase(heights.begin());
        QCOMPARE(heights, std::vector<int>(heights.size(), height));
    }

    void cancelStopsTheBatchAtAGenerationBoundary_data() {
        QTest::addColumn<std::function<void(BatchProgressWindow*)>>("cancel");
        QTest::newRow("cancel button") << std::function<void(BatchProgressWindow*)>(
            [](BatchProgressWindow* w) { QTest::mouseClick(w->cancelButton(), Qt::LeftButton); });
        QTest::newRow("Escape") << std::function<void(BatchProgressWindow*)>(
            [](BatchProgressWindow* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QTest::newRow("closing the window") << std::function<void(BatchProgressWindow*)>(
            [](BatchProgressWindow* w) { w->close(); });
    }

    void cancelStopsTheBatchAtAGenerationBoundary() {
        QFETCH(std::function<void(BatchProgressWindow*)>, cancel);
        // Without the jump a board never ends early, so the batch runs until it is stopped.
        BatchSettings everyGeneration;
        everyGeneration.detectCycles = false;
        form->setBatchTuning(everyGeneration, 100);
        openStatistics();
        fillRandomly(40, 30);
        const auto start = std::make_unique<Board>(form->board());
        QTest::mouseClick(control("SpeedButton7"), Qt::LeftButton); // ticks wait for the batch

        PaintCounter counter;
        auto* grid = control<StringGrid>("StringGrid1");
        grid->installEventFilter(&counter);
        int paintsWhileShown = -1;
        QElapsedTimer sinceCancel;
        QTimer poll;
        int polls = 0;
        poll.callOnTimeout([&] {
            auto* window = qobject_cast<BatchProgressWindow*>(QApplication::activeModalWidget());
            if (window == nullptr) {
                return;
            }
            if (++polls == 1) {
                // Input meant for the main window goes nowhere while the batch runs: a clear
                // that got through would empty the chart the checks below count.
                const QPoint clear =
                    control<QToolButton>("SpeedButton1")->mapTo(form.get(), QPoint(5, 5));
                QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, clear);
                counter.paints = 0;
                grid->update();
                return;
            }
            paintsWhileShown = counter.paints;
            poll.stop();
            sinceCancel.start();
            cancel(window);
        });
        poll.start(60);
        batch(QStringLiteral("2000000000"));
        const qint64 latency = sinceCancel.elapsed();
        qInfo("stopped %lld ms after the cancel", latency);
        QVERIFY(latency < 2000);
        QVERIFY2(paintsWhileShown > 0, "the main window repaints while the batch runs");
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        const std::int32_t reached = form->board().Generation;
        QVERIFY(reached > 0 && reached < 2'000'000'000);
        QCOMPARE(form->formState().StepsToRun, reached);
        runBatch(*start, reached, NoStatistics{}, nullptr, everyGeneration);
        const std::string difference = test::difference(*start, form->board());
        QVERIFY2(difference.empty(), difference.c_str());
        QCOMPARE(control<ValueLabel>("Label5")->text(), QString::number(reached));
        QCOMPARE(control<PopulationChart>("Chart1")->series().count(), std::size_t(reached));

        // Ticks resume once the batch is over.
        control<QLineEdit>("Edit1")->setText(QStringLiteral("1"));
        QTRY_VERIFY_WITH_TIMEOUT(form->board().Generation > reached, 2000);
        QTest::mouseClick(control("SpeedButton18"), Qt::LeftButton);
    }

private:
    void openStatistics() {
        clickStatisticsCaption();
        QTRY_VERIFY(form->formState().StatsVisible);
    }
    void fillRandomly(int size, int percent) {
        std::mt19937 random(static_cast<unsigned>(size * 100 + percent));
        std::uniform_int_distribution<int> chance(0, 99);
        for (int c = 0; c < size; ++c) {
            for (int r = 0; r < size; ++r) {
                form->board().Cells[c][r] = chance(random) < percent ? kAlive : kDead;
            }
        }
    }
    void batch(const QString& steps) {
        control<QLineEdit>("Edit2")->setText(steps);
        QTest::mouseClick(control("SpeedButton16"), Qt::LeftButton);
    }
};

QTEST_MAIN(LongBatchTest)
#include "LongBatchTest.moc"
