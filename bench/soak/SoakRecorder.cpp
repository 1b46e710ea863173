// Sampling /proc, the allocator and the clocks, and summing up the soak's windows.
#include "SoakRecorder.h"

#include <QFile>
#include <QStringList>

#include <ctime>
#include <malloc.h>

namespace tivla {

namespace {

constexpr double kKiB = 1024.0;
constexpr double kMicroseconds = 1e6;
constexpr double kNanoseconds = 1e9;
constexpr std::size_t kSamplesPerProgressLine = 60;

double mebibytes(double kib) {
    return kib / kKiB;
}

double processCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / kNanoseconds;
}

std::int64_t mallocFreeKiB() {
    return static_cast<std::int64_t>(::mallinfo2().fordblks / 1024);
}

} // namespace

std::int64_t residentKiB(pid_t pid) {
    QFile status(pid == 0 ? QStringLiteral("/proc/self/status")
                          : QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

SoakRecorder::SoakRecorder(double windowSeconds, pid_t server, std::size_t expectedSamples)
    : windowSeconds_(windowSeconds), server_(server) {
    samples_.reserve(expectedSamples); // the recorder's own growth stays out of the figures
}

void SoakRecorder::record(double seconds, std::int32_t generation, std::int32_t population,
                          std::size_t chartPoints, std::size_t chartBytes) {
    SoakSample sample;
    sample.seconds = seconds;
    sample.generation = generation;
    sample.population = population;
    sample.chartPoints = chartPoints;
    sample.chartBytes = chartBytes;
    sample.cpuSeconds = processCpuSeconds();
    sample.rssKiB = residentKiB(0);
    sample.mallocFreeKiB = mallocFreeKiB();
    sample.serverRssKiB = server_ > 0 ? residentKiB(server_) : -1;
    samples_.push_back(sample);
}

QString SoakRecorder::progressLine() const {
    const SoakSample& last = samples_.back();
    const SoakSample& earlier = samples_[samples_.size() > kSamplesPerProgressLine
                                             ? samples_.size() - 1 - kSamplesPerProgressLine
                                             : 0];
    const double span = last.seconds - earlier.seconds;
    const double rate = span > 0 ? (last.generation - earlier.generation) / span : 0;
    QString line =
        QStringLiteral("%1 s: generation %2, %3 generations/s, VmRSS %4 MiB, population %5")
            .arg(last.seconds, 0, 'f', 0)
            .arg(last.generation)
            .arg(rate, 0, 'f', 1)
            .arg(mebibytes(static_cast<double>(last.rssKiB)), 0, 'f', 1)
            .arg(last.population);
    if (last.serverRssKiB >= 0) {
        line += QStringLiteral(", Xvfb VmRSS %1 MiB")
                    .arg(mebibytes(static_cast<double>(last.serverRssKiB)), 0, 'f', 1);
    }
    return line;
}

SoakRecorder::Window SoakRecorder::window(double from, double to) const {
    Window result;
    const SoakSample* first = nullptr;
    const SoakSample* last = nullptr;
    double rss = 0;
    double serverRss = 0;
    double points = 0;
    double mallocFree = 0;
    int count = 0;
    for (const SoakSample& sample : samples_) {
        if (sample.seconds < from - 0.5 || sample.seconds > to + 0.5) {
            continue;
        }
        first = first != nullptr ? first : &sample;
        last = &sample;
        rss += static_cast<double>(sample.rssKiB);
        serverRss += static_cast<double>(sample.serverRssKiB);
        points += static_cast<double>(sample.chartPoints);
        mallocFree += static_cast<double>(sample.mallocFreeKiB);
        ++count;
    }
    if (count == 0) {
        return result;
    }
    result.seconds = last->seconds - first->seconds;
    const std::int32_t generations = last->generation - first->generation;
    result.generationsPerSecond = result.seconds > 0 ? generations / result.seconds : 0;
    result.cpuMicrosecondsPerGeneration =
        generations > 0 ? (last->cpuSeconds - first->cpuSeconds) * kMicroseconds / generations : 0;
    result.meanRssKiB = rss / count;
    result.meanServerRssKiB = first->serverRssKiB >= 0 ? serverRss / count : -1;
    result.meanChartPoints = points / count;
    result.meanMallocFreeKiB = mallocFree / count;
    result.chartBytes = last->chartBytes;
    result.firstRssKiB = first->rssKiB;
    result.lastRssKiB = last->rssKiB;
    result.lastPopulation = last->population;
    return result;
}

QString SoakRecorder::describe(const char* name, const Window& w) {
    QString text = QStringLiteral("%1: %2 generations/s over %3 s, %4 us CPU a generation; "
                                  "VmRSS mean %5 MiB (%6 to %7)")
                       .arg(QLatin1String(name))
                       .arg(w.generationsPerSecond, 0, 'f', 1)
                       .arg(w.seconds, 0, 'f', 1)
                       .arg(w.cpuMicrosecondsPerGeneration, 0, 'f', 1)
                       .arg(mebibytes(w.meanRssKiB), 0, 'f', 2)
                       .arg(mebibytes(static_cast<double>(w.firstRssKiB)), 0, 'f', 2)
                       .arg(mebibytes(static_cast<double>(w.lastRssKiB)), 0, 'f', 2);
    if (w.meanServerRssKiB >= 0) {
        text += QStringLiteral("; Xvfb VmRSS mean %1 MiB")
                    .arg(mebibytes(w.meanServerRssKiB), 0, 'f', 2);
    }
    text += QStringLiteral("; chart points %1; population %2")
                .arg(w.meanChartPoints, 0, 'f', 0)
                .arg(w.lastPopulation);
    return text;
}

QString SoakRecorder::report() const {
    if (samples_.size() < 2) {
        return QStringLiteral("too short a run to report");
    }
    const double end = samples_.back().seconds;
    const Window first = window(0, windowSeconds_);
    const Window last = window(end - windowSeconds_, end);
    const double pointsAdded = last.meanChartPoints - first.meanChartPoints;
    // The chart's runs say what they hold; repeats cost their period, not their length.
    const double expectedKiB =
        (static_cast<double>(last.chartBytes) - static_cast<double>(first.chartBytes)) / kKiB;
    // Growing, each of the chart's vectors moves to a block twice the size and hands the old
    // one back to the allocator, which keeps it resident for reuse: the growth of its free
    // bytes is that share.
    const double keptKiB = last.meanMallocFreeKiB - first.meanMallocFreeKiB;
    const double grownKiB = last.meanRssKiB - first.meanRssKiB;
    QStringList lines;
    lines << describe("first window", first) << describe("last window ", last);
    lines << QStringLiteral("ratio last/first: generations/s %1, CPU a generation %2, VmRSS %3")
                 .arg(last.generationsPerSecond / first.generationsPerSecond, 0, 'f', 3)
                 .arg(last.cpuMicrosecondsPerGeneration / first.cpuMicrosecondsPerGeneration, 0,
                      'f', 3)
                 .arg(last.meanRssKiB / first.meanRssKiB, 0, 'f', 3);
    lines << QStringLiteral("VmRSS grew %1 MiB: the chart's %2 new points explain %3 MiB (%4 "
                            "bytes a point; the chart held %5 -> %6 bytes), freed blocks the "
                            "allocator keeps %7 MiB, unexplained %8 MiB; expected VmRSS ratio %9")
                 .arg(mebibytes(grownKiB), 0, 'f', 2)
                 .arg(pointsAdded, 0, 'f', 0)
                 .arg(mebibytes(expectedKiB), 0, 'f', 2)
                 .arg(pointsAdded > 0 ? expectedKiB * kKiB / pointsAdded : 0.0, 0, 'f', 3)
                 .arg(first.chartBytes)
                 .arg(last.chartBytes)
                 .arg(mebibytes(keptKiB), 0, 'f', 2)
                 .arg(mebibytes(grownKiB - expectedKiB - keptKiB), 0, 'f', 2)
                 .arg((first.meanRssKiB + expectedKiB + keptKiB) / first.meanRssKiB, 0, 'f', 3);
    if (first.meanServerRssKiB >= 0) {
        lines << QStringLiteral("Xvfb VmRSS ratio last/first %1")
                     .arg(last.meanServerRssKiB / first.meanServerRssKiB, 0, 'f', 3);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace tivla
