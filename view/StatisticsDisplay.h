// The statistics panel's values: what each generation step shows and what a clear empties.
#pragma once

#include "engine/Board.h"
#include "engine/StatisticsSink.h"

#include <QStringView>

#include <array>
#include <cstdint>

namespace tivla {

class PopulationChart;
class ValueLabel;

// Formats into a buffer of its own and hands the labels views of it, so an update allocates
// nothing; the labels copy the characters and repaint later. The window passes it to the
// generation step and the batches as their statistics sink while the panel is open.
class StatisticsDisplay final : public StatisticsSink {
public:
    // Label5, Label2, Label8, Label10 and Chart1 of the statistics panel; none may be null and
    // all must outlive the display.
    StatisticsDisplay(ValueLabel* generationLabel, ValueLabel* populationLabel,
                      ValueLabel* percentLabel, ValueLabel* maximumLabel, PopulationChart* chart);

    // Shows the counters of the step just taken and adds the point (generations since the
    // clear, Population).
    void update(const Board& board);
    // Empties the four value labels and removes every point.
    void clear();

    void generationTaken(const Board& board) override { update(board); }
    // The labels end on the board's counters; the chart repeats its last points.
    void periodRepeated(const Board& board, long long period, long long times) override;
    bool takesRepetitions() const override { return true; }

private:
    void showCounters(const Board& board);
    std::int64_t chartX(const Board& board);
    QStringView decimal(std::int64_t value);
    QStringView percent(long double value);

    ValueLabel* generationLabel_;
    ValueLabel* populationLabel_;
    ValueLabel* percentLabel_;
    ValueLabel* maximumLabel_;
    PopulationChart* chart_;
    // The chart's x: generations since the clear, which never wrap, moved on by the wrapped
    // Generation's difference from the one last seen. Generations stepped with the panel shut
    // are counted too, unless 2^32 or more of them pass unseen (more than one batch takes).
    std::uint64_t generations_ = 0;
    std::uint32_t seenGeneration_ = 0;
    // Room for any 64-bit integer or shortest double, and the percent sign.
    std::array<char16_t, 40> buffer_{};
};

} // namespace tivla
