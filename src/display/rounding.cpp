// Real-to-integer conversions that stay defined for every input.
#include "display/rounding.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace lab {

double roundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which the program never changes from
  // round-to-nearest-even.
  return std::nearbyint(value);
}

namespace {

template <typename Int>
Int clampedRound(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = roundHalfEven(value);
  constexpr double low = std::numeric_limits<Int>::min();
  constexpr double high = std::numeric_limits<Int>::max();
  if (rounded <= low) return std::numeric_limits<Int>::min();
  if (rounded >= high) return std::numeric_limits<Int>::max();
  return static_cast<Int>(rounded);
}

}  // namespace

std::int16_t toInt16(double value) {
  return clampedRound<std::int16_t>(value);
}
std::int32_t toInt32(double value) {
  return clampedRound<std::int32_t>(value);
}

}  // namespace lab
