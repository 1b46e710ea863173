// The soak's once-a-second samples and the report on its first and last windows.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <sys/types.h>
#include <vector>

namespace tivla {

// Resident memory of a process in KiB (VmRSS in /proc/<pid>/status; pid 0 is this process),
// or -1 when it can't be read.
std::int64_t residentKiB(pid_t pid);

struct SoakSample {
    double seconds = 0;
    std::int32_t generation = 0;
    std::int32_t population = 0;
    std::size_t chartPoints = 0;
    std::size_t chartBytes = 0;
    // CPU time of this process: unlike the wall clock, other programs' load barely moves it.
    double cpuSeconds = 0;
    std::int64_t rssKiB = 0;
    // Freed memory the allocator keeps for reuse: resident, but no longer anybody's.
    std::int64_t mallocFreeKiB = 0;
    std::int64_t serverRssKiB = -1;
};

class SoakRecorder {
public:
    // server: the X server's pid, whose memory is sampled too; 0 for none.
    SoakRecorder(double windowSeconds, pid_t server, std::size_t expectedSamples);

    void record(double seconds, std::int32_t generation, std::int32_t population,
                std::size_t chartPoints, std::size_t chartBytes);
    std::size_t sampleCount() const { return samples_.size(); }
    // One line on the newest minute: generations per second, memory, population.
    QString progressLine() const;
    // The first and last windows side by side, their ratios and the growth the chart explains.
    QString report() const;

private:
    struct Window {
        double seconds = 0;
        double generationsPerSecond = 0;
        double cpuMicrosecondsPerGeneration = 0;
        double meanRssKiB = 0;
        double meanServerRssKiB = -1;
        double meanChartPoints = 0;
        double meanMallocFreeKiB = 0;
        std::size_t chartBytes = 0;
        std::int64_t firstRssKiB = 0;
        std::int64_t lastRssKiB = 0;
        std::int32_t lastPopulation = 0;
    };
    // Over the samples whose time lies in [from, to].
    Window window(double from, double to) const;
    static QString describe(const char* name, const Window& window);

    double windowSeconds_;
    pid_t server_;
    std::vector<SoakSample> samples_;
};

} // namespace tivla
