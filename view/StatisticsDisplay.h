// The statistics panel's values: what each generation step shows and what a clear empties.
#pragma once

#include "engine/Board.h"

#include <QStringView>

#include <array>
#include <cstdint>

namespace tivla {

class PopulationChart;
class ValueLabel;

// Formats into a buffer of its own and hands the labels views of it, so an update allocates
// nothing; the labels copy the characters and repaint later. Pass it, wrapped in a lambda, as
// the generation step's statistics hook.
class StatisticsDisplay {
public:
    // Label5, Label2, Label8, Label10 and Chart1 of the statistics panel; none may be null and
    // all must outlive the display.
    StatisticsDisplay(ValueLabel* generationLabel, ValueLabel* populationLabel,
                      ValueLabel* percentLabel, ValueLabel* maximumLabel, PopulationChart* chart);

    // Shows the counters of the step just taken and adds the point (Generation, Population).
    void update(const Board& board);
    // Empties the four value labels and removes every point.
    void clear();

private:
    QStringView decimal(std::int64_t value);
    QStringView percent(long double value);

    ValueLabel* generationLabel_;
    ValueLabel* populationLabel_;
    ValueLabel* percentLabel_;
    ValueLabel* maximumLabel_;
    PopulationChart* chart_;
    // Room for any 64-bit integer or shortest double, and the percent sign.
    std::array<char16_t, 40> buffer_{};
};

} // namespace tivla
