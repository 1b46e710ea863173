// The population chart: a black, axis-less area chart of population over generations.
#include "PopulationChart.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tivla {

namespace {
constexpr int kDefaultWidth = 169;
constexpr int kDefaultHeight = 177;
// A lone point gets this much room on either side, so it shows as a column in the middle.
constexpr double kLonePointMargin = 1;

bool startsDrag(Qt::MouseButton button) {
    return button == Qt::LeftButton || button == Qt::RightButton;
}
} // namespace

PopulationChart::PopulationChart(QWidget* parent) : QWidget(parent), series_(*this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PopulationChart::setLeftAxisMaximum(double maximum) {
    leftMaximum_ = maximum;
    update();
}

void PopulationChart::setTopAxisMaximum(double maximum) {
    topMaximum_ = maximum;
}

void PopulationChart::setRightAxisMaximum(double maximum) {
    rightMaximum_ = maximum;
}

AxisRange PopulationChart::bottomAxis() const {
    return panned_ ? pannedRange_ : dataRange();
}

QSize PopulationChart::sizeHint() const {
    return {kDefaultWidth, kDefaultHeight};
}

void PopulationChart::seriesChanged() {
    if (!repaintRequested_) {
        repaintRequested_ = true;
        update();
    }
}

void PopulationChart::seriesCleared() {
    panned_ = false;
    dragging_ = false;
    seriesChanged();
}

AxisRange PopulationChart::dataRange() const {
    if (series_.count() == 0) {
        return {};
    }
    const double first = static_cast<double>(series_.firstX());
    const double last = static_cast<double>(series_.lastX());
    if (first == last) {
        return {first - kLonePointMargin, last + kLonePointMargin};
    }
    return {first, last};
}

int PopulationChart::areaHeight(double value) const {
    const double share = (value - kVerticalMinimum) / (leftMaximum_ - kVerticalMinimum);
    const double pixels = std::round(share * height());
    return static_cast<int>(std::clamp(pixels, 0.0, static_cast<double>(height())));
}

void PopulationChart::paintEvent(QPaintEvent*) {
    repaintRequested_ = false;
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kChartBackgroundColour));
    const int columns = width();
    if (!series_.isActive() || series_.count() == 0 || columns <= 0 ||
        !(leftMaximum_ > kVerticalMinimum)) {
        return;
    }
    const AxisRange view = bottomAxis();
    const double first = static_cast<double>(series_.firstX());
    const double last = static_cast<double>(series_.lastX());
    const double perColumn = (view.maximum - view.minimum) / columns;
    const QColor area(kChartAreaColour);
    const int bottom = height();

    // Neighbouring columns of equal height are filled as one rectangle.
    int runStart = 0;
    int runHeight = 0;
    for (int column = 0; column <= columns; ++column) {
        int columnHeight = 0;
        if (column < columns) {
            const double lo = std::max(view.minimum + column * perColumn, first);
            const double hi = std::min(view.minimum + (column + 1) * perColumn, last);
            if (lo <= hi) {
                columnHeight = areaHeight(series_.peakBetween(lo, hi));
            }
        }
        if (column == columns || columnHeight != runHeight) {
            if (runHeight > 0) {
                painter.fillRect(runStart, bottom - runHeight, column - runStart, runHeight, area);
            }
            runStart = column;
            runHeight = columnHeight;
        }
    }
}

void PopulationChart::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (startsDrag(event->button()) && series_.count() > 0) {
        dragging_ = true;
        dragStartX_ = event->position().x();
        dragStartRange_ = bottomAxis();
    }
}

void PopulationChart::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_ || width() <= 0) {
        return;
    }
    const double perPixel = (dragStartRange_.maximum - dragStartRange_.minimum) / width();
    // Dragging to the right brings earlier generations into view.
    const double shift = -(event->position().x() - dragStartX_) * perPixel;
    pannedRange_ = {dragStartRange_.minimum + shift, dragStartRange_.maximum + shift};
    panned_ = true;
    update();
}

void PopulationChart::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (startsDrag(event->button())) {
        dragging_ = false;
    }
}

} // namespace tivla
