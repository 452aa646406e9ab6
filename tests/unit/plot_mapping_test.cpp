// Time and value to pixel mapping of the graph panels, including values of a diverging run.
#include <gtest/gtest.h>

#include <limits>

#include "display/graph_panel.h"
#include "display/screen_layout.h"

namespace lab {
namespace {

ScreenLayout layoutFor(int width, int height) {
  ScreenLayout layout;
  setScreenMetrics(layout, width, height);
  computeAnchors(layout);
  return layout;
}

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(PlotMapping, TimeZeroLiesOnTheAxisAtEverySize) {
  const int sizes[][2] = {{800, 600}, {1024, 768}, {640, 480}, {1920, 1080}, {321, 201}};
  for (const auto& s : sizes) EXPECT_EQ(PlotX(layoutFor(s[0], s[1]), 0.0), 10) << s[0];
}

struct XCase {
  int width;
  double t;
  int expected;
};

TEST(PlotMapping, PlotXRoundsHalvesToEven) {
  const XCase cases[] = {
      {800, 0.05, 11},    // 11.25
      {800, 0.1, 12},     // 12.5 -> 12
      {800, 0.3, 18},     // 17.5 -> 18
      {800, 15.45, 396},  // 396.25
      {800, 15.5, 398},   // 397.5 -> 398, the first past the full axis
      {640, 15.40, 318},  // 318
      {640, 15.45, 319},  // the first x beyond 159 * 2 = 318
      {1024, 1.0, 42},    //
      {1024, 0.05, 12},   // 11.6
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlotX(layoutFor(c.width, 600), c.t), c.expected) << c.width << " " << c.t;
  }
}

struct YCase {
  int height;
  double v;
  int zeroY;
  int expected;
};

TEST(PlotMapping, PlotYFollowsTheFourSteps) {
  const YCase cases[] = {
      {600, 10, 141, 51},          // 141 - 90
      {600, -10, 141, 231},        // 141 + 90
      {600, 0, 141, 141},          //
      {600, 0, 422, 422},          //
      {768, 0, 539, 539},          //
      {768, 10, 180, 65},          // -11520 * 0.01 + 180 = 64.8
      {600, -100, 141, 1041},      // still mapped outside the panel
      {600, 0.001, 141, 141},      // -0.3 rounds to a = 0
      {768, 0.0433333, 141, 141},  // a = -13, b = trunc(-49.92) = -49, c = 140.51
      {600, 0.5, 422, 418},        // a = -150, b = -450, c = 417.5 -> 418
      {600, -0.5, 422, 426},       // c = 426.5 -> 426
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlotY(layoutFor(800, c.height), c.v, c.zeroY), c.expected)
        << c.height << " " << c.v << " " << c.zeroY;
  }
}

TEST(PlotMapping, NonFiniteAndHugeValuesGiveClampedPixels) {
  const ScreenLayout l = layoutFor(800, 600);
  EXPECT_EQ(PlotY(l, Inf, 141), -32768);
  EXPECT_EQ(PlotY(l, -Inf, 141), 32767);
  EXPECT_EQ(PlotY(l, 1e300, 141), -32768);
  EXPECT_EQ(PlotY(l, -1e300, 141), 32767);
  EXPECT_EQ(PlotY(l, 1e6, 422), -32768);
  // NaN is drawn on the zero line of its panel.
  EXPECT_EQ(PlotY(l, NaN, 141), 141);
  EXPECT_EQ(PlotY(l, NaN, 422), 422);
  EXPECT_EQ(PlotX(l, Inf), 32767);
  EXPECT_EQ(PlotX(l, -Inf), -32768);
  EXPECT_EQ(PlotX(l, 1e300), 32767);
  EXPECT_EQ(PlotX(l, NaN), 0);
}

TEST(PlotMapping, TallDisplayKeepsTheIntermediateIn64Bits) {
  // a is clamped to the 32-bit minimum; a * 32767 needs 64 bits before the division.
  const ScreenLayout l = layoutFor(800, 32767);
  EXPECT_EQ(PlotY(l, 1e9, 100), -32768);
  EXPECT_EQ(PlotY(l, -1e9, 100), 32767);
}

}  // namespace
}  // namespace lab
