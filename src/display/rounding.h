// Conversions of real values to integers that never meet NaN, infinity or an overflow.
#pragma once

#include <cstdint>

namespace lab {

// Nearest integer, halves to the even neighbour (the default conversion of the system).
double roundHalfEven(double value);
// Rounded half to even and clamped into the 16-bit range; NaN becomes 0.
std::int16_t toInt16(double value);
// Rounded half to even and clamped into the 32-bit range; NaN becomes 0.
std::int32_t toInt32(double value);

}  // namespace lab
