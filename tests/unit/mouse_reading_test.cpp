// The mouse reading: tenths of a volt or microampere for a height above the zero line.
#include <gtest/gtest.h>

#include <limits>

#include "tools/mouse_measure.h"

namespace lab {
namespace {

TEST(MouseReading, TenthsForAHeightDifference) {
  // n = 10 d / 3 rounded to nearest, then 200 n / height truncated toward zero
  const struct {
    int d, height, tenths;
  } cases[] = {
      {30, 600, 33},                   // n 100: 20000 / 600 = 33.3
      {-30, 600, -33},                 // truncated toward zero, not down
      {0, 600, 0},       {1, 600, 1},  // n 3.33 -> 3: 600 / 600
      {2, 600, 2},                     // n 6.67 -> 7: 1400 / 600 = 2.33
      {-2, 600, -2},                   // n -7: -2.33 -> -2
      {-1, 600, -1},                   // n -3: -600 / 600
      {30, 768, 26},                   // 20000 / 768 = 26.04
      {30, 480, 41},                   // 20000 / 480 = 41.67
      {135, 600, 150},                 // n 450: 90000 / 600 = 150, the top of a 15 V scale
      {41, 600, 45},                   // n 136.67 -> 137: 27400 / 600 = 45.67
      {-122, 1080, -75},               // n -406.67 -> -407: -81400 / 1080 = -75.4
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readingTenths(c.d, c.height), c.tenths) << c.d << " at " << c.height;
  }
}

TEST(MouseReading, ExtremeInputsStayDefined) {
  EXPECT_EQ(readingTenths(30, 0), 0);
  EXPECT_EQ(readingTenths(30, -600), 0);
  // n is clamped to 32 bits, and the quotient to the range of int
  EXPECT_EQ(readingTenths(std::numeric_limits<int>::max(), 1), std::numeric_limits<int>::max());
  EXPECT_EQ(readingTenths(std::numeric_limits<int>::min(), 1), std::numeric_limits<int>::min());
  EXPECT_EQ(readingTenths(std::numeric_limits<int>::max(), 600),
            715827882);  // 200 * (2^31-1) / 600
}

}  // namespace
}  // namespace lab
