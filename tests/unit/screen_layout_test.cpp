// Screen metrics, grid scaling and layout anchors at the three worked screen sizes.
#include "display/screen_layout.h"

#include <gtest/gtest.h>

namespace lab {
namespace {

ScreenLayout layoutFor(int width, int height) {
  ScreenLayout layout;
  setScreenMetrics(layout, width, height);
  computeAnchors(layout);
  return layout;
}

TEST(ScreenLayout, MetricsAndFactors) {
  const ScreenLayout l = layoutFor(1024, 768);
  EXPECT_EQ(l.ScreenWidth, 1024);
  EXPECT_EQ(l.ScreenHeight, 768);
  EXPECT_DOUBLE_EQ(l.XFactor, 3.2);
  EXPECT_DOUBLE_EQ(l.YFactor, 3.84);
}

struct AnchorCase {
  int width, height;
  int graphRight;
  int voltageTop, voltageBottom, voltageZero;
  int currentTop, currentBottom, currentZero;
  double zeroLineEnd;
  int snapshotBottom;
  int circuitLeft;
  double circuitRight;
};

TEST(ScreenLayout, AnchorsMatchTheWorkedTable) {
  const AnchorCase cases[] = {
      {800, 600, 398, 6, 276, 141, 285, 558, 422, 392.5, 597, 410, 790.0},
      {1024, 768, 510, 7, 353, 180, 364, 714, 539, 502.4, 764, 525, 1011.2},
      {640, 480, 319, 4, 220, 112, 228, 446, 337, 314.0, 477, 328, 632.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const ScreenLayout l = layoutFor(c.width, c.height);
    EXPECT_EQ(l.GraphLeft, 5);
    EXPECT_EQ(l.TimeAxisX, 10);
    EXPECT_EQ(l.GraphRight, c.graphRight);
    EXPECT_EQ(l.VoltagePanelTop, c.voltageTop);
    EXPECT_EQ(l.VoltagePanelBottom, c.voltageBottom);
    EXPECT_EQ(l.VoltageZeroY, c.voltageZero);
    EXPECT_EQ(l.CurrentPanelTop, c.currentTop);
    EXPECT_EQ(l.CurrentPanelBottom, c.currentBottom);
    EXPECT_EQ(l.CurrentZeroY, c.currentZero);
    EXPECT_NEAR(l.ZeroLineEnd, c.zeroLineEnd, 1e-9);
    // The start-up defaults set SnapshotBottom from this same rule.
    EXPECT_EQ(ScaleY(l, 199), c.snapshotBottom);
    EXPECT_EQ(l.CircuitLeft, c.circuitLeft);
    EXPECT_NEAR(l.CircuitRight, c.circuitRight, 1e-9);
  }
}

TEST(ScreenLayout, ComputeAnchorsLeavesSnapshotBottomAlone) {
  ScreenLayout l;
  l.SnapshotBottom = 123;
  setScreenMetrics(l, 800, 600);
  computeAnchors(l);
  EXPECT_EQ(l.SnapshotBottom, 123);
}

struct ScaleCase {
  int width, height;
  int v;
  int expected;
};

TEST(ScreenLayout, ScaleXTruncatesTowardZero) {
  const ScaleCase cases[] = {
      {1024, 768, 20, 64},   // 64.0 exactly
      {800, 600, 7, 17},     // 17.5
      {800, 600, 140, 350},  //
      {800, 600, -1, -2},    // -2.5 toward zero, not -3
      {1000, 600, -3, -9},   // -9.375
      {640, 480, 0, 0},
  };
  for (const auto& c : cases) {
    ScreenLayout l;
    setScreenMetrics(l, c.width, c.height);
    EXPECT_EQ(ScaleX(l, c.v), c.expected) << c.width << " " << c.v;
  }
}

TEST(ScreenLayout, ScaleYTruncatesTowardZero) {
  const ScaleCase cases[] = {
      {1024, 768, 30, 115},  // 115.2
      {1024, 768, -5, -19},  // -19.2 toward zero, not -20
      {800, 600, -5, -15},   //
      {800, 605, 110, 332},  // 332.75
      {640, 480, 199, 477},  // 477.6
  };
  for (const auto& c : cases) {
    ScreenLayout l;
    setScreenMetrics(l, c.width, c.height);
    EXPECT_EQ(ScaleY(l, c.v), c.expected) << c.height << " " << c.v;
  }
}

TEST(ScreenLayout, ScalingDoesNotOverflowForLargeProducts) {
  ScreenLayout l;
  setScreenMetrics(l, 30000, 30000);
  // 100000 * 30000 exceeds 32 bits; the quotient does not.
  EXPECT_EQ(ScaleX(l, 100000), 9375000);
  EXPECT_EQ(ScaleY(l, -100000), -15000000);
}

TEST(ScreenLayout, GridXRoundsHalvesToEven) {
  const ScaleCase cases[] = {
      {800, 600, 185, 462},   // 462.5
      {800, 600, 195, 488},   // 487.5
      {800, 600, 164, 410},   //
      {800, 600, 297, 742},   // 742.5
      {1024, 768, 164, 525},  // 524.8
      {1024, 768, 297, 950},  // 950.4
      {640, 480, 164, 328},
  };
  for (const auto& c : cases) {
    ScreenLayout l;
    setScreenMetrics(l, c.width, c.height);
    EXPECT_EQ(GridX(l, c.v), c.expected) << c.width << " " << c.v;
  }
}

TEST(ScreenLayout, OversizedDisplayGivesClampedAnchors) {
  ScreenLayout l;
  setScreenMetrics(l, 100000, 100000);
  computeAnchors(l);
  EXPECT_EQ(l.ScreenWidth, 32767);
  EXPECT_EQ(l.GraphRight, 32767);  // 159 * 312.5 + 1 is beyond 16 bits
  EXPECT_GT(l.CurrentPanelBottom, l.CurrentPanelTop);
}

}  // namespace
}  // namespace lab
