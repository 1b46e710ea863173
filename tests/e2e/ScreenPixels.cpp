// See ScreenPixels.h.
#include "ScreenPixels.h"

#include <QHash>

namespace tivla::e2e {

namespace {

bool inside(const QImage& image, const QRect& area) {
    return !area.isEmpty() && image.rect().contains(area);
}

QRgb at(const QImage& image, int x, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x] | 0xff000000u;
}

template <typename Test> QRect boundsWhere(const QImage& image, const QRect& area, Test test) {
    const QRect clipped = area & image.rect();
    QRect bounds;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (test(at(image, x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace

bool isUniform(const QImage& image, const QRect& area, QRgb colour) {
    if (!inside(image, area)) {
        return false;
    }
    return countColour(image, area, colour) == area.width() * area.height();
}

int countColour(const QImage& image, const QRect& area, QRgb colour) {
    const QRect clipped = area & image.rect();
    int count = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            count += at(image, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

QRect boundsOfOther(const QImage& image, const QRect& area, QRgb background) {
    return boundsWhere(image, area, [background](QRgb pixel) { return pixel != background; });
}

QRect boundsOf(const QImage& image, const QRect& area, QRgb colour) {
    return boundsWhere(image, area, [colour](QRgb pixel) { return pixel == colour; });
}

QRgb dominantColour(const QImage& image, const QRect& area) {
    const QRect clipped = area & image.rect();
    QHash<QRgb, int> counts;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            ++counts[at(image, x, y)];
        }
    }
    QRgb dominant = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            dominant = it.key();
        }
    }
    return dominant;
}

std::optional<QString> firstDifference(const QImage& a, const QRect& area, const QImage& b,
                                       QPoint bTopLeft) {
    const QRect bArea(bTopLeft, area.size());
    if (!inside(a, area) || !inside(b, bArea)) {
        return QStringLiteral("area outside the picture");
    }
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            const QRgb pa = at(a, area.x() + x, area.y() + y);
            const QRgb pb = at(b, bTopLeft.x() + x, bTopLeft.y() + y);
            if (pa != pb) {
                return QStringLiteral("%1,%2: %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(colourName(pa), colourName(pb));
            }
        }
    }
    return std::nullopt;
}

bool showsGlyph(const QImage& screen, const QRect& area, const QImage& glyph) {
    const QImage argb = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int top = area.top(); top + argb.height() <= area.bottom() + 1; ++top) {
        for (int left = area.left(); left + argb.width() <= area.right() + 1; ++left) {
            bool matches = inside(screen, QRect(left, top, argb.width(), argb.height()));
            for (int y = 0; matches && y < argb.height(); ++y) {
                for (int x = 0; matches && x < argb.width(); ++x) {
                    const QRgb pixel = argb.pixel(x, y);
                    matches = qAlpha(pixel) != 255 || at(screen, left + x, top + y) == pixel;
                }
            }
            if (matches) {
                return true;
            }
        }
    }
    return false;
}

QString colourName(QRgb colour) {
    return QStringLiteral("#%1").arg(colour & 0xffffffu, 6, 16, QLatin1Char('0'));
}

} // namespace tivla::e2e
