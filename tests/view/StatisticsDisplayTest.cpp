// The statistics panel's value labels and the display update and clearing that feed them.
#include "view/StatisticsDisplay.h"
#include "engine/BatchRunner.h"
#include "engine/Board.h"
#include "engine/GenerationStep.h"
#include "view/PopulationChart.h"
#include "view/ValueLabel.h"

#include <QFontMetrics>
#include <QTest>

#include <cstdint>
#include <memory>
#include <random>

using tivla::Board;
using tivla::PopulationChart;
using tivla::StatisticsDisplay;
using tivla::ValueLabel;

namespace {

class CountingLabel : public ValueLabel {
public:
    using ValueLabel::ValueLabel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        ValueLabel::paintEvent(event);
    }
};

// The statistics panel's value labels and chart, as the main window holds them.
struct Panel {
    QWidget box;
    ValueLabel* Label5 = new ValueLabel(&box);
    ValueLabel* Label2 = new ValueLabel(&box);
    ValueLabel* Label8 = new ValueLabel(&box);
    ValueLabel* Label10 = new ValueLabel(QString(10, QLatin1Char(' ')), &box);
    PopulationChart* Chart1 = new PopulationChart(&box);
    StatisticsDisplay display{Label5, Label2, Label8, Label10, Chart1};
};

std::unique_ptr<Board> board40WithLiveCells(int liveCells) {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    for (int i = 0; i < liveCells; ++i) {
        board->Cells[i % board->BoardSize][i / board->BoardSize] = tivla::kAlive;
    }
    return board;
}

} // namespace

class StatisticsDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void labelTextIsImmediateButItsLookWaitsForTheEventLoop() {
        QWidget window;
        window.resize(200, 50);
        auto* label = new CountingLabel(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        const int paintsBefore = label->paints;
        const QSize sizeBefore = label->size();

        for (int generation = 1; generation <= 100000; ++generation) {
            label->setText(QString::number(generation));
        }
        QCOMPARE(label->text(), QStringLiteral("100000"));
        QCOMPARE(label->paints, paintsBefore);
        QCOMPARE(label->size(), sizeBefore);

        const QFontMetrics metrics(label->font());
        QTRY_COMPARE(label->width(), metrics.horizontalAdvance(QStringLiteral("100000")));
        QTRY_VERIFY(label->paints > paintsBefore);
        QVERIFY(label->paints <= paintsBefore + 2);
    }

    void labelIsSizedToItsTextInItsFont() {
        ValueLabel label(QStringLiteral("12345"));
        QFont font(QStringLiteral("Georgia"));
        font.setPixelSize(30);
        label.setFont(font);
        const QFontMetrics metrics(label.font());
        QCOMPARE(label.size(),
                 QSize(metrics.horizontalAdvance(QStringLiteral("12345")), metrics.height()));
        // An empty label keeps the width of one space, so it can still be seen to be there.
        label.setText(QString());
        QTRY_COMPARE(label.width(), metrics.horizontalAdvance(QLatin1Char(' ')));
        QVERIFY(label.text().isEmpty());
    }

    void updateShowsTheStepJustTaken_data() {
        QTest::addColumn<int>("liveCells");
        QTest::addColumn<QString>("percent");
        QTest::newRow("empty board") << 0 << QStringLiteral("0%");
        QTest::newRow("a quarter") << 400 << QStringLiteral("25%");
        QTest::newRow("full board") << 1600 << QStringLiteral("100%");
    }

    void updateShowsTheStepJustTaken() {
        QFETCH(int, liveCells);
        QFETCH(QString, percent);
        Panel panel;
        auto board = board40WithLiveCells(liveCells);
        tivla::SilentPainter painter;
        tivla::stepGeneration(*board, painter,
                              [&panel](const Board& b) { panel.display.update(b); });

        QCOMPARE(panel.Label5->text(), QStringLiteral("1"));
        QCOMPARE(panel.Label2->text(), QString::number(liveCells));
        QCOMPARE(panel.Label8->text(), percent);
        QCOMPARE(panel.Label10->text(), QString::number(liveCells));
        QCOMPARE(panel.Chart1->series().count(), std::size_t{1});
        QCOMPARE(panel.Chart1->series().x(0), std::int64_t{1});
        QCOMPARE(panel.Chart1->series().y(0), liveCells);
    }

    void numbersAreWrittenInFull_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << QStringLiteral("0");
        QTest::newRow("round") << 40000 << QStringLiteral("40000");
        QTest::newRow("no separators") << 1234567 << QStringLiteral("1234567");
        QTest::newRow("largest") << INT32_MAX << QStringLiteral("2147483647");
        // The generation counter wraps after the largest value.
        QTest::newRow("wrapped") << INT32_MIN << QStringLiteral("-2147483648");
    }

    void numbersAreWrittenInFull() {
        QFETCH(int, value);
        QFETCH(QString, text);
        Panel panel;
        Board board;
        board.Generation = value;
        board.Population = value;
        board.MaxPopulation = value;
        board.PopulationPercent = value;
        panel.display.update(board);
        QCOMPARE(panel.Label5->text(), text);
        QCOMPARE(panel.Label2->text(), text);
        QCOMPARE(panel.Label10->text(), text);
        QCOMPARE(panel.Label8->text(), text + QLatin1Char('%'));
    }

    void aFractionalPercentageKeepsItsFraction() {
        Panel panel;
        Board board;
        board.PopulationPercent = 12.5L;
        panel.display.update(board);
        QCOMPARE(panel.Label8->text(), QStringLiteral("12.5%"));
    }

    void clearEmptiesLabelsAndChart() {
        Panel panel;
        auto board = board40WithLiveCells(400);
        tivla::runSilentSteps(*board, 3, [&panel](const Board& b) { panel.display.update(b); });
        panel.display.clear();
        for (const ValueLabel* label : {panel.Label5, panel.Label2, panel.Label8, panel.Label10}) {
            QVERIFY(label->text().isEmpty());
        }
        QCOMPARE(panel.Chart1->series().count(), std::size_t{0});
    }

    void everyGenerationOfABatchAddsAPoint() {
        Panel panel;
        auto board = board40WithLiveCells(400);
        tivla::runSilentSteps(*board, 25, [&panel](const Board& b) { panel.display.update(b); });
        const auto& series = panel.Chart1->series();
        QCOMPARE(series.count(), std::size_t{25});
        for (std::size_t i = 0; i < series.count(); ++i) {
            QCOMPARE(series.x(i), static_cast<std::int64_t>(i + 1));
        }
    }

    void aBatchThatJumpsShowsWhatEveryGenerationWouldHave() {
        std::mt19937 random(3);
        std::uniform_int_distribution<int> percent(0, 99);
        for (const int density : {0, 8, 30, 50}) {
            auto start = board40WithLiveCells(3); // a blinker in the corner
            for (int c = 0; c < 40; ++c) {
                for (int r = 5; r < 40; ++r) {
                    start->Cells[c][r] = percent(random) < density ? tivla::kAlive : tivla::kDead;
                }
            }
            Panel jumping;
            Panel every;
            for (Panel* panel : {&jumping, &every}) {
                panel->Chart1->resize(169, 177);
                panel->Chart1->setLeftAxisMaximum(1600);
            }
            auto jumped = std::make_unique<Board>(*start);
            auto stepped = std::make_unique<Board>(*start);
            // Twice, so that the second batch repeats what the first one ended with.
            for (const long long steps : {100000LL, 33333LL}) {
                tivla::runBatch(*jumped, steps, &jumping.display);
                tivla::runBatch(*stepped, steps,
                                [&every](const Board& b) { every.display.update(b); });
            }
            QCOMPARE(jumped->Generation, stepped->Generation);
            for (auto [mine, theirs] :
                 {std::pair{jumping.Label5, every.Label5}, std::pair{jumping.Label2, every.Label2},
                  std::pair{jumping.Label8, every.Label8},
                  std::pair{jumping.Label10, every.Label10}}) {
                QCOMPARE(mine->text(), theirs->text());
            }
            const auto& mine = jumping.Chart1->series();
            const auto& theirs = every.Chart1->series();
            QCOMPARE(mine.count(), std::size_t{133333});
            QCOMPARE(mine.count(), theirs.count());
            for (std::size_t i = 0; i < mine.count(); i += 997) {
                QCOMPARE(mine.x(i), theirs.x(i));
                QCOMPARE(mine.y(i), theirs.y(i));
            }
            QCOMPARE(jumping.Chart1->grab().toImage(), every.Chart1->grab().toImage());
        }
    }
};

QTEST_MAIN(StatisticsDisplayTest)
#include "StatisticsDisplayTest.moc"
