// Sampling /proc and summing up the soak's windows.
#include "SoakRecorder.h"

#include <QFile>

#include <cmath>

namespace tivla {

namespace {

constexpr double kKiB = 1024.0;
constexpr int kSamplesPerProgressLine = 60;

double mebibytes(double kib) {
    return kib / kKiB;
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
                          std::size_t chartPoints) {
    samples_.push_back({seconds, generation, population, chartPoints, residentKiB(0),
                        server_ > 0 ? residentKiB(server_) : -1});
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
            .arg(mebibytes(last.rssKiB), 0, 'f', 1)
            .arg(last.population);
    if (last.serverRssKiB >= 0) {
        line += QStringLiteral(", Xvfb VmRSS %1 MiB").arg(mebibytes(last.serverRssKiB), 0, 'f', 1);
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
    int count = 0;
    for (const SoakSample& sample : samples_) {
        if (sample.seconds < from - 0.5 || sample.seconds > to + 0.5) {
            continue;
        }
        first = first != nullptr ? first : &sample;
        last = &sample;
        rss += sample.rssKiB;
        serverRss += sample.serverRssKiB;
        points += static_cast<double>(sample.chartPoints);
        ++count;
    }
    if (count == 0) {
        return result;
    }
    result.seconds = last->seconds - first->seconds;
    result.generationsPerSecond =
        result.seconds > 0 ? (last->generation - first->generation) / result.seconds : 0;
    result.meanRssKiB = rss / count;
    result.meanServerRssKiB = first->serverRssKiB >= 0 ? serverRss / count : -1;
    result.meanChartPoints = points / count;
    result.firstRssKiB = first->rssKiB;
    result.lastRssKiB = last->rssKiB;
    result.lastPopulation = last->population;
    return result;
}

QString SoakRecorder::describe(const char* name, const Window& w) {
    QString text = QStringLiteral("%1: %2 generations/s over %3 s; VmRSS mean %4 MiB (%5 to %6)")
                       .arg(QLatin1String(name))
                       .arg(w.generationsPerSecond, 0, 'f', 1)
                       .arg(w.seconds, 0, 'f', 1)
                       .arg(mebibytes(w.meanRssKiB), 0, 'f', 2)
                       .arg(mebibytes(w.firstRssKiB), 0, 'f', 2)
                       .arg(mebibytes(w.lastRssKiB), 0, 'f', 2);
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
    const double expectedKiB = pointsAdded * kChartBytesPerPoint / kKiB;
    const double grownKiB = last.meanRssKiB - first.meanRssKiB;
    QStringList lines;
    lines << describe("first window", first) << describe("last window ", last);
    lines << QStringLiteral("ratio last/first: generations/s %1, VmRSS %2")
                 .arg(last.generationsPerSecond / first.generationsPerSecond, 0, 'f', 3)
                 .arg(last.meanRssKiB / first.meanRssKiB, 0, 'f', 3);
    lines << QStringLiteral("VmRSS grew %1 MiB; the chart's %2 new points explain %3 MiB "
                            "(%4 bytes a point), so VmRSS ratio %5 is expected; unexplained %6 MiB")
                 .arg(mebibytes(grownKiB), 0, 'f', 2)
                 .arg(pointsAdded, 0, 'f', 0)
                 .arg(mebibytes(expectedKiB), 0, 'f', 2)
                 .arg(kChartBytesPerPoint, 0, 'f', 2)
                 .arg((first.meanRssKiB + expectedKiB) / first.meanRssKiB, 0, 'f', 3)
                 .arg(mebibytes(grownKiB - expectedKiB), 0, 'f', 2);
    if (first.meanServerRssKiB >= 0) {
        lines << QStringLiteral("Xvfb VmRSS ratio last/first %1")
                     .arg(last.meanServerRssKiB / first.meanServerRssKiB, 0, 'f', 3);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace tivla
