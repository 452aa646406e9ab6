// Real coordinates made safe for the raster engine: NaN dropped, huge values clipped or clamped
// into a guard range before they become integer pixels.
#pragma once

#include <optional>

#include <QLine>
#include <QPoint>
#include <QRect>

namespace lab {

// Pixels this far outside any surface are as good as infinitely far away.
inline constexpr double GuardLimit = 30000.0;

// Nearest integer, halves to even, clamped into the int range; NaN becomes 0.
int roundedPixel(double value);
// A point rounded to pixels, clamped into the guard range; nothing for NaN.
std::optional<QPoint> safePoint(double x, double y);
// A segment cut to the guard range with its direction kept; nothing for NaN or when it lies
// wholly outside.
std::optional<QLine> safeSegment(double x1, double y1, double x2, double y2);
// The rectangle between two corners, both corners' pixels included; nothing for NaN.
std::optional<QRect> safeRect(double x1, double y1, double x2, double y2);
// A length in pixels, clamped into the guard range; nothing for NaN or a negative value.
std::optional<int> safeLength(double length);

}  // namespace lab
