// Times what the user waits for in the main window: a batch of generations with the
// statistics panel shut and open, and ticks of a 1 ms timer as the population chart grows.
//   bench_window [--batch N] [--timer-generations N]   (0 generations: skip the timer run)
#include "app/Fonts.h"
#include "app/TForm1.h"
#include "bench/MainWindowControls.h"
#include "engine/Board.h"
#include "view/PopulationChart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

using tivla::TForm1;
using tivla::bench::click;
using tivla::bench::control;

namespace {

void fillSoup(TForm1& form, unsigned seed) {
    std::mt19937 rng(seed);
    std::bernoulli_distribution live(0.35);
    auto& board = form.board();
    for (int c = 0; c < board.BoardSize; ++c) {
        for (int r = 0; r < board.BoardSize; ++r) {
            board.Cells[c][r] = live(rng) ? tivla::kAlive : tivla::kDead;
        }
    }
}

double timeBatch(TForm1& form, int generations) {
    click(form, "SpeedButton1");
    fillSoup(form, 7);
    control<QLineEdit>(form, "Edit2")->setText(QString::number(generations));
    QElapsedTimer timer;
    timer.start();
    click(form, "SpeedButton16");
    QCoreApplication::processEvents(); // the window shows the result once the batch has ended
    return timer.nsecsElapsed() / 1e9;
}

void toggleStatistics(TForm1& form) {
    tivla::bench::clickStatisticsCaption(form);
}

std::size_t chartPoints(const TForm1& form) {
    return control<tivla::PopulationChart>(form, "Chart1")->series().count();
}

// Generations per second of the 1 ms timer over a window of wall time.
double tickRate(TForm1& form, int milliseconds) {
    const int before = form.board().Generation;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return (form.board().Generation - before) * 1000.0 / timer.elapsed();
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tivla::installFonts();
    int batch = 100000;
    int timerGenerations = 100000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--batch") == 0) {
            batch = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--timer-generations") == 0) {
            timerGenerations = std::atoi(argv[i + 1]);
        }
    }

    TForm1 form;
    form.show();
    QCoreApplication::processEvents();
    click(form, "SpeedButton14"); // 200 x 200

    // The best of several runs: the machine may be busy with other work.
    constexpr int kRuns = 5;
    double shut = 1e9;
    double open = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        shut = std::min(shut, timeBatch(form, batch));
        toggleStatistics(form);
        open = std::min(open, timeBatch(form, batch));
        toggleStatistics(form);
    }
    std::printf("Batch of %d generations on 200x200, statistics panel shut: %8.3f s\n", batch,
                shut);
    std::printf(
        "Batch of %d generations on 200x200, statistics panel open: %8.3f s (%d chart points)\n",
        batch, open, static_cast<int>(chartPoints(form)));
    std::printf("Open / shut: %.2fx (target: at most 1.5x)\n", open / shut);

    if (timerGenerations <= 0) {
        return 0;
    }
    // A long run on the 1 ms timer: the tick rate must not fall as the chart grows.
    click(form, "SpeedButton1");
    fillSoup(form, 11);
    control<QLineEdit>(form, "Edit1")->setText(QStringLiteral("1"));
    click(form, "SpeedButton7");
    toggleStatistics(form);
    const double early = tickRate(form, 3000);
    while (form.board().Generation < timerGenerations) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const double late = tickRate(form, 3000);
    click(form, "SpeedButton18");
    std::printf("1 ms timer, statistics open: %.0f generations/s at the start, %.0f after %d "
                "generations (%d points); late / early = %.2f\n",
                early, late, timerGenerations, static_cast<int>(chartPoints(form)), late / early);
    return 0;
}
