// The population chart: a black, axis-less area chart of population over generations.
#pragma once

#include "AreaSeries.h"

#include <QRgb>
#include <QWidget>

namespace tivla {

inline constexpr QRgb kChartBackgroundColour = qRgb(0, 0, 0);
inline constexpr QRgb kChartAreaColour = qRgb(255, 255, 0);

struct AxisRange {
    double minimum = 0;
    double maximum = 0;
};

// Painting reduces the points to one filled column per pixel through the series' range
// maxima, so a frame costs the same for a thousand points as for billions of them. The bottom
// axis counts generations since the last clear, in 64 bits. The
// vertical range is fixed from outside; the horizontal one follows the data until the user drags it
// sideways, and stays where it was dragged until the series is cleared.
class PopulationChart : public QWidget {
    Q_OBJECT

public:
    static constexpr double kVerticalMinimum = 3;
    static constexpr double kDefaultVerticalMaximum = 100;

    explicit PopulationChart(QWidget* parent = nullptr);

    AreaSeries& series() { return series_; }
    const AreaSeries& series() const { return series_; }

    // The left axis is the one drawn against; the top and right axes carry no series and only
    // remember what they were given. A maximum at or below the minimum leaves the chart empty.
    void setLeftAxisMaximum(double maximum);
    void setTopAxisMaximum(double maximum);
    void setRightAxisMaximum(double maximum);
    AxisRange leftAxis() const { return {kVerticalMinimum, leftMaximum_}; }
    AxisRange topAxis() const { return {kVerticalMinimum, topMaximum_}; }
    AxisRange rightAxis() const { return {kVerticalMinimum, rightMaximum_}; }
    // The generations across the widget's width: the data's span, or where the user dragged it.
    AxisRange bottomAxis() const;
    bool isPanned() const { return panned_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Presses (double clicks included) are the chart's own and never reach the panel beneath it.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class AreaSeries;
    void seriesChanged();
    void seriesCleared();

    AxisRange dataRange() const;
    int areaHeight(double value) const;

    AreaSeries series_;
    double leftMaximum_ = kDefaultVerticalMaximum;
    double topMaximum_ = kDefaultVerticalMaximum;
    double rightMaximum_ = kDefaultVerticalMaximum;

    AxisRange pannedRange_;
    bool panned_ = false;
    bool dragging_ = false;
    double dragStartX_ = 0;
    AxisRange dragStartRange_;

    // Set between an update() and the paint that answers it, so a batch of points asks once.
    bool repaintRequested_ = false;
};

} // namespace tivla
