// The board grid's backing store: the control's logical area held in whole device pixels.
#include "view/GridImage.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace tivla {

namespace {

QRgb inverted(QRgb colour) {
    return qRgb(255 - qRed(colour), 255 - qGreen(colour), 255 - qBlue(colour));
}

} // namespace

void GridImage::reshape(QSize logicalSize, qreal scale) {
    const QSize physical(qCeil(logicalSize.width() * scale), qCeil(logicalSize.height() * scale));
    if (image_.size() != physical) {
        image_ = QImage(physical, QImage::Format_RGB32);
    }
    image_.setDevicePixelRatio(scale);
    logicalSize_ = logicalSize;
    scale_ = scale;
}

void GridImage::fill(QRgb colour) {
    image_.fill(colour);
}

void GridImage::fillRect(const QRect& logical, QRgb colour) {
    int x0 = logical.left();
    int y0 = logical.top();
    int x1 = x0 + logical.width();
    int y1 = y0 + logical.height();
    if (scale_ != 1.0) {
        // The same rounding as QPainter's rectangle fills, so both land on the same pixels.
        x0 = qRound(x0 * scale_);
        y0 = qRound(y0 * scale_);
        x1 = qRound(x1 * scale_);
        y1 = qRound(y1 * scale_);
    }
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, image_.width());
    y1 = std::min(y1, image_.height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    colour |= 0xff000000u;
    for (int y = y0; y < y1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + x0, line + x1, colour);
    }
}

void GridImage::drawOnto(QPainter& painter, const QRect& logical) const {
    painter.drawImage(QRectF(logical), image_,
                      QRectF(logical.x() * scale_, logical.y() * scale_, logical.width() * scale_,
                             logical.height() * scale_));
}

QImage GridImage::logicalCopy() const {
    if (scale_ == 1.0) {
        QImage copy = image_.copy(QRect(QPoint(0, 0), logicalSize_));
        copy.setDevicePixelRatio(1.0);
        return copy;
    }
    // Every logical pixel covers device pixels of one colour; take the one at its centre.
    QImage copy(logicalSize_, QImage::Format_RGB32);
    for (int y = 0; y < copy.height(); ++y) {
        const int sourceY = std::min(static_cast<int>((y + 0.5) * scale_), image_.height() - 1);
        const auto* source = reinterpret_cast<const QRgb*>(image_.constScanLine(sourceY));
        auto* target = reinterpret_cast<QRgb*>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            target[x] = source[std::min(static_cast<int>((x + 0.5) * scale_), image_.width() - 1)];
        }
    }
    return copy;
}

void GridImage::drawDottedFrame(QPainter& painter, const QRect& logical) const {
    const QRect frame = logical & QRect(QPoint(0, 0), logicalSize_);
    if (frame.isEmpty() || image_.isNull()) {
        return;
    }
    const auto dot = [&](int x, int y) {
        if ((x - frame.left() + y - frame.top()) % 2 != 0) {
            return;
        }
        const QPoint source(std::min(qRound(x * scale_), image_.width() - 1),
                            std::min(qRound(y * scale_), image_.height() - 1));
        painter.fillRect(QRect(x, y, 1, 1), QColor(inverted(image_.pixel(source))));
    };
    // Each edge pixel once: the corners belong to the top and bottom edges.
    for (int x = frame.left(); x <= frame.right(); ++x) {
        dot(x, frame.top());
        if (frame.bottom() != frame.top()) {
            dot(x, frame.bottom());
        }
    }
    for (int y = frame.top() + 1; y < frame.bottom(); ++y) {
        dot(frame.left(), y);
        if (frame.right() != frame.left()) {
            dot(frame.right(), y);
        }
    }
}

} // namespace tivla
