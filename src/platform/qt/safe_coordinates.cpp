// Clamping and clipping of real coordinates before they become pixels.
#include "platform/qt/safe_coordinates.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lab {

namespace {

double clampToGuard(double value) {
  return std::clamp(value, -GuardLimit, GuardLimit);
}

int toPixel(double value) {
  return roundedPixel(clampToGuard(value));
}

// Far beyond the guard range but small enough that differences of two values stay finite.
double tame(double value) {
  return std::clamp(value, -1e150, 1e150);
}

}  // namespace

int roundedPixel(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint rounds halves to even in the default rounding mode, which nothing changes.
  const double rounded = std::nearbyint(value);
  constexpr double low = std::numeric_limits<int>::min();
  constexpr double high = std::numeric_limits<int>::max();
  if (rounded <= low) return std::numeric_limits<int>::min();
  if (rounded >= high) return std::numeric_limits<int>::max();
  return static_cast<int>(rounded);
}

std::optional<QPoint> safePoint(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return std::nullopt;
  return QPoint(toPixel(x), toPixel(y));
}

std::optional<QLine> safeSegment(double x1, double y1, double x2, double y2) {
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return std::nullopt;
  x1 = tame(x1);
  y1 = tame(y1);
  x2 = tame(x2);
  y2 = tame(y2);
  // Liang-Barsky against the guard square keeps the visible part of the segment exact.
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  double enter = 0.0;
  double leave = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 + GuardLimit, GuardLimit - x1, y1 + GuardLimit, GuardLimit - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return std::nullopt;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      enter = std::max(enter, r);
    } else {
      leave = std::min(leave, r);
    }
  }
  if (enter > leave) return std::nullopt;
  return QLine(toPixel(x1 + enter * dx), toPixel(y1 + enter * dy), toPixel(x1 + leave * dx),
               toPixel(y1 + leave * dy));
}

std::optional<QRect> safeRect(double x1, double y1, double x2, double y2) {
  const auto a = safePoint(x1, y1);
  const auto b = safePoint(x2, y2);
  if (!a || !b) return std::nullopt;
  return QRect(QPoint(std::min(a->x(), b->x()), std::min(a->y(), b->y())),
               QPoint(std::max(a->x(), b->x()), std::max(a->y(), b->y())));
}

std::optional<int> safeLength(double length) {
  if (std::isnan(length) || length < 0.0) return std::nullopt;
  return toPixel(length);
}

}  // namespace lab
