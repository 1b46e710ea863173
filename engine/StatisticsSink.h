// Where the engine reports the counters of the generations it takes, for whoever shows them.
#pragma once

#include "Board.h"

#include <cstdint>
#include <type_traits>
#include <utility>

namespace tivla {

// The engine never asks whether anybody watches: a caller that shows statistics passes a sink,
// one that doesn't passes none. Inside a batch the board's Cells need not be current; its
// counters always are.
class StatisticsSink {
public:
    virtual ~StatisticsSink() = default;

    // One generation has been taken; the board holds its Generation, Population,
    // PopulationPercent and MaxPopulation.
    virtual void generationTaken(const Board& board) = 0;

    // The last `period` generations reported, all of this batch, repeat `times` more times,
    // each exactly as before but for its Generation; the board holds the counters of the last
    // of them. The engine only reports this to a sink that takesRepetitions().
    virtual void periodRepeated(const Board& board, long long period, long long times) {
        (void)board;
        (void)period;
        (void)times;
    }

    // A sink that must see every generation on its own (a printout of each) says no; the batch
    // then runs every generation instead of jumping over the repeats.
    virtual bool takesRepetitions() const { return false; }
};

// A statistics argument that shows nothing, for callers without a display.
struct NoStatistics {
    void operator()(const Board&) const {}
};

// Hands every generation to a callable taking const Board&.
template <typename Callable> class EachGenerationSink final : public StatisticsSink {
public:
    explicit EachGenerationSink(Callable& callable) : callable_(callable) {}
    void generationTaken(const Board& board) override { callable_(board); }

private:
    Callable& callable_;
};

// Calls `use` with the StatisticsSink* that `statistics` stands for: a sink pointer as it is,
// NoStatistics as none, a sink object by address, any other callable wrapped to see every
// generation.
template <typename Statistics, typename Use>
decltype(auto) withStatisticsSink(Statistics&& statistics, Use&& use) {
    using Plain = std::remove_cvref_t<Statistics>;
    if constexpr (std::is_same_v<Plain, NoStatistics> || std::is_same_v<Plain, std::nullptr_t>) {
        return use(static_cast<StatisticsSink*>(nullptr));
    } else if constexpr (std::is_pointer_v<Plain>) {
        return use(static_cast<StatisticsSink*>(statistics));
    } else if constexpr (std::is_base_of_v<StatisticsSink, Plain>) {
        return use(static_cast<StatisticsSink*>(&statistics));
    } else {
        EachGenerationSink<std::remove_reference_t<Statistics>> sink(statistics);
        return use(static_cast<StatisticsSink*>(&sink));
    }
}

} // namespace tivla
