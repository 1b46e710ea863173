// Reading a screenshot: the program's colours and what a region of the screen holds.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

namespace tivla::e2e {

inline constexpr QRgb kBoardOrange = qRgb(255, 128, 64);
inline constexpr QRgb kAliveYellow = qRgb(255, 255, 0);
inline constexpr QRgb kLineSilver = qRgb(192, 192, 192);
// The bare X screen (Xvfb runs with a black root) and the chart's background.
inline constexpr QRgb kBlack = qRgb(0, 0, 0);
inline constexpr QRgb kWhite = qRgb(255, 255, 255);

// Whether every pixel of area is colour; an area reaching off the image is never uniform.
bool isUniform(const QImage& image, const QRect& area, QRgb colour);
int countColour(const QImage& image, const QRect& area, QRgb colour);
// The smallest rectangle holding every pixel of area that is not background; null if none.
QRect boundsOfOther(const QImage& image, const QRect& area, QRgb background);
// The smallest rectangle holding every pixel of area that is colour; null if none.
QRect boundsOf(const QImage& image, const QRect& area, QRgb colour);

// The colour most pixels of area have: a control's background.
QRgb dominantColour(const QImage& image, const QRect& area);

// Compares image a's area with image b's area of the same size starting at bTopLeft; the first
// differing pixel as "x,y: a #rrggbb b #rrggbb" (relative to the area), or nothing.
std::optional<QString> firstDifference(const QImage& a, const QRect& area, const QImage& b,
                                       QPoint bTopLeft);

// Whether the glyph's opaque pixels appear, unchanged, somewhere inside area of the screen.
bool showsGlyph(const QImage& screen, const QRect& area, const QImage& glyph);

QString colourName(QRgb colour);

} // namespace tivla::e2e
