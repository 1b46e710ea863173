// The board grid's backing store: the control's logical area held in whole device pixels.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

namespace tivla {

class GridImage {
public:
    // Covers logicalSize at scale device pixels per logical pixel; the contents are
    // undefined until filled.
    void reshape(QSize logicalSize, qreal scale);

    QSize logicalSize() const { return logicalSize_; }
    qreal scale() const { return scale_; }
    bool isNull() const { return image_.isNull(); }
    // For a QPainter working in logical coordinates.
    QImage& image() { return image_; }

    void fill(QRgb colour);
    // Fills the device pixels of a logical rectangle, clipped by the image's edge.
    void fillRect(const QRect& logical, QRgb colour);

    void drawOnto(QPainter& painter, const QRect& logical) const;
    // One pixel per logical pixel, Format_RGB32.
    QImage logicalCopy() const;
    // A dotted frame along the inside of a logical rectangle, every other pixel in the
    // inverse of the colour below it, like the platform's focus rectangle; painted through
    // painter, the image itself stays as it is.
    void drawDottedFrame(QPainter& painter, const QRect& logical) const;

private:
    QImage image_;
    QSize logicalSize_;
    qreal scale_ = 1.0;
};

} // namespace tivla
