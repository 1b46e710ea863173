// Runs the real main window for a long time on a 1 ms timer with the statistics panel open,
// and prints its memory and its generations per second over the first and last seconds.
//
//   tivla_soak [--seconds N] [--window N] [--size 40|50|80|100|150|200] [--fill N] [--offscreen]
//
// By default it starts an Xvfb of its own and draws through the xcb platform, as the program
// does on a desktop: every tick's painting then travels to an X server, whose memory is
// sampled too. --offscreen skips the server (and the cost of talking to it).
#include "SoakRecorder.h"
#include "XvfbServer.h"
#include "app/Fonts.h"
#include "app/RunTimer.h"
#include "app/SpinEdit.h"
#include "app/TForm1.h"
#include "app/UserDialogs.h"
#include "assets/Assets.h"
#include "bench/MainWindowControls.h"
#include "view/PopulationChart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using tivla::TForm1;
using tivla::bench::click;
using tivla::bench::control;

constexpr double kDefaultSeconds = 600;
constexpr double kDefaultWindowSeconds = 10;
constexpr int kDefaultSize = 80;
constexpr int kDefaultFill = 2550;
constexpr int kSampleMs = 1000;
constexpr int kProgressEverySamples = 60;
constexpr int kExposeTimeoutMs = 5000;

struct Options {
    double seconds = kDefaultSeconds;
    double window = kDefaultWindowSeconds;
    int size = kDefaultSize;
    int fill = kDefaultFill;
    bool offscreen = false;
};

bool parse(int argc, char* argv[], Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--offscreen") {
            options.offscreen = true;
        } else if (arg == "--seconds" && hasValue) {
            options.seconds = std::atof(argv[++i]);
        } else if (arg == "--window" && hasValue) {
            options.window = std::atof(argv[++i]);
        } else if (arg == "--size" && hasValue) {
            options.size = std::atoi(argv[++i]);
        } else if (arg == "--fill" && hasValue) {
            options.fill = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    return options.seconds > 0 && options.window > 0;
}

// A message box would stop the run until someone pressed OK: say it on stderr instead.
class PrintedDialogs final : public tivla::UserDialogs {
public:
    void showError(const QString& text) override { print("error", text); }
    void showMessage(const QString& text) override { print("message", text); }
    QString openFileName(const QString&, const QStringList&, int) override { return {}; }
    SaveChoice saveFileName(const QString&, const QStringList&) override { return {}; }

private:
    static void print(const char* kind, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", kind, qPrintable(text));
    }
};

bool chooseSize(TForm1& form, int size) {
    const struct {
        int size;
        const char* button;
    } buttons[] = {{40, "SpeedButton9"},   {50, "SpeedButton10"},  {80, "SpeedButton13"},
                   {100, "SpeedButton11"}, {150, "SpeedButton12"}, {200, "SpeedButton14"}};
    for (const auto& b : buttons) {
        if (b.size == size) {
            click(form, b.button); // the current size's button is hidden, yet it still clicks
            return true;
        }
    }
    return false;
}

void waitUntilExposed(QWidget& window) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kExposeTimeoutMs &&
           (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--seconds N] [--window N] [--size 40|50|80|100|150|200] "
                     "[--fill N] [--offscreen]\n",
                     argv[0]);
        return 2;
    }
    tivla::XvfbServer server;
    if (options.offscreen) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        if (!server.start()) {
            std::fprintf(stderr, "%s\n", qPrintable(server.error()));
            return 1;
        }
        ::setenv("DISPLAY", qPrintable(server.display()), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }

    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    tivla::installFonts();
    tivla::initAssets();

    TForm1 form;
    form.setUserDialogs(std::make_unique<PrintedDialogs>());
    form.showFromTitleScreen();
    waitUntilExposed(form);
    if (!chooseSize(form, options.size)) {
        std::fprintf(stderr, "no board size %d\n", options.size);
        return 2;
    }
    auto* fillCount = control<tivla::SpinEdit>(form, "SpinEdit1");
    const auto* timer = control<tivla::RunTimer>(form, "Timer1");
    const auto* chart = control<tivla::PopulationChart>(form, "Chart1");
    fillCount->setText(QString::number(options.fill));
    click(form, "SpeedButton4");
    tivla::bench::clickStatisticsCaption(form); // the statistics panel slides open
    control<QLineEdit>(form, "Edit1")->setText(QStringLiteral("1"));

    std::printf("Тивла soak: %.0f s on %s, board %dx%d, fill %s, interval %d ms, statistics %s\n",
                options.seconds,
                options.offscreen
                    ? "the offscreen platform"
                    : qPrintable(QStringLiteral("Xvfb %1 (xcb)").arg(server.display())),
                form.board().BoardSize, form.board().BoardSize, qPrintable(fillCount->text()),
                timer->interval(), form.formState().StatsVisible ? "open" : "shut");
    std::fflush(stdout);

    tivla::SoakRecorder recorder(options.window, options.offscreen ? 0 : server.pid(),
                                 static_cast<std::size_t>(options.seconds) + 16);
    QElapsedTimer clock;
    const auto sample = [&] {
        const tivla::Board& board = form.board();
        recorder.record(clock.elapsed() / 1000.0, board.Generation, board.Population,
                        chart->series().count(), chart->series().memoryUsed());
    };
    click(form, "SpeedButton7"); // start
    clock.start();
    sample();

    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        sample();
        if (recorder.sampleCount() % kProgressEverySamples == 1) {
            std::printf("%s\n", qPrintable(recorder.progressLine()));
            std::fflush(stdout);
        }
        if (clock.elapsed() >= static_cast<qint64>(options.seconds * 1000)) {
            QCoreApplication::quit();
        }
    });
    sampler.start(kSampleMs);
    QApplication::exec();
    click(form, "SpeedButton18"); // stop

    std::printf("%s\n", qPrintable(recorder.report()));
    return 0;
}
