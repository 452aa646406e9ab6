// Rounding to integers: halves to even, and no undefined conversion for NaN, infinity or huge
// values.
#include "display/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lab {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const struct {
    double in;
    double out;
  } cases[] = {{0.5, 0},     {1.5, 2},     {2.5, 2},    {-0.5, 0},   {-1.5, -2},
               {421.5, 422}, {398.5, 398}, {84.48, 84}, {11.25, 11}, {-2.4999, -2}};
  for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, NonFiniteAndHugeValuesAreClamped) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(toInt16(inf), 32767);
  EXPECT_EQ(toInt16(-inf), -32768);
  EXPECT_EQ(toInt16(nan), 0);
  EXPECT_EQ(toInt16(1e300), 32767);
  EXPECT_EQ(toInt16(-40000.4), -32768);
  EXPECT_EQ(toInt16(32767.4), 32767);
  EXPECT_EQ(toInt16(-12.5), -12);
  EXPECT_EQ(toInt32(inf), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(toInt32(-1e20), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(toInt32(nan), 0);
  EXPECT_EQ(toInt32(-3000.0), -3000);
}

}  // namespace
}  // namespace lab
