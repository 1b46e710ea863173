// The statistics panel's values: what each generation step shows and what a clear empties.
#include "StatisticsDisplay.h"

#include "PopulationChart.h"
#include "ValueLabel.h"

#include <charconv>

namespace tivla {

namespace {
// Whole numbers below this take the integer path; the percentage always does.
constexpr long double kLargestWholeShownAsInteger = 1e18L;
constexpr char16_t kPercentSign = u'%';

// Writes the decimal text of value so that it ends just before end; returns its start. A hand
// loop into a reused buffer beats QString::number, which allocates a fresh string every call.
char16_t* writeDecimal(std::int64_t value, char16_t* end) {
    char16_t* start = end;
    const bool negative = value < 0;
    auto magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--start = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        *--start = u'-';
    }
    return start;
}
} // namespace

StatisticsDisplay::StatisticsDisplay(ValueLabel* generationLabel, ValueLabel* populationLabel,
                                     ValueLabel* percentLabel, ValueLabel* maximumLabel,
                                     PopulationChart* chart)
    : generationLabel_(generationLabel), populationLabel_(populationLabel),
      percentLabel_(percentLabel), maximumLabel_(maximumLabel), chart_(chart) {}

void StatisticsDisplay::update(const Board& board) {
    showCounters(board);
    chart_->series().addXY(chartX(board), board.Population);
}

std::int64_t StatisticsDisplay::chartX(const Board& board) {
    const auto generation = static_cast<std::uint32_t>(board.Generation);
    generations_ += generation - seenGeneration_;
    seenGeneration_ = generation;
    return static_cast<std::int64_t>(generations_);
}

void StatisticsDisplay::periodRepeated(const Board& board, long long period, long long times) {
    showCounters(board);
    // The repeat goes on from the last point, however far the wrapped counter has gone.
    chartX(board);
    chart_->series().repeatLast(period, times);
}

void StatisticsDisplay::showCounters(const Board& board) {
    generationLabel_->setText(decimal(board.Generation));
    populationLabel_->setText(decimal(board.Population));
    percentLabel_->setText(percent(board.PopulationPercent));
    maximumLabel_->setText(decimal(board.MaxPopulation));
}

void StatisticsDisplay::clear() {
    populationLabel_->setText(QStringView());
    percentLabel_->setText(QStringView());
    maximumLabel_->setText(QStringView());
    generationLabel_->setText(QStringView());
    generations_ = 0;
    seenGeneration_ = 0;
    chart_->series().clear();
}

QStringView StatisticsDisplay::decimal(std::int64_t value) {
    char16_t* const end = buffer_.data() + buffer_.size();
    return {writeDecimal(value, end), end};
}

QStringView StatisticsDisplay::percent(long double value) {
    // The shortest general form; the percentage is always whole, so that is its integer text.
    char16_t* const end = buffer_.data() + buffer_.size();
    char16_t* const sign = end - 1;
    *sign = kPercentSign;
    // The range test also turns away NaN and infinities before the conversion may see them.
    if (value > -kLargestWholeShownAsInteger && value < kLargestWholeShownAsInteger) {
        const auto whole = static_cast<std::int64_t>(value);
        if (static_cast<long double>(whole) == value) {
            return {writeDecimal(whole, sign), end};
        }
    }
    std::array<char, 32> narrow{};
    const auto result =
        std::to_chars(narrow.data(), narrow.data() + narrow.size(), static_cast<double>(value));
    char16_t* const start = sign - (result.ptr - narrow.data());
    std::copy(narrow.data(), result.ptr, start);
    return {start, end};
}

} // namespace tivla
