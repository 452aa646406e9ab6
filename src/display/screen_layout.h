// Screen metrics of the 320 x 200 design grid, the scaling rules and the layout anchors.
#pragma once

#include <cstdint>

namespace lab {

class Platform;

struct ScreenLayout {
  std::int16_t ScreenWidth = 0;
  std::int16_t ScreenHeight = 0;
  double XFactor = 0.0;
  double YFactor = 0.0;

  std::int16_t GraphLeft = 0;
  std::int16_t GraphRight = 0;
  std::int16_t VoltagePanelTop = 0;
  std::int16_t VoltagePanelBottom = 0;
  std::int16_t CurrentPanelTop = 0;
  std::int16_t CurrentPanelBottom = 0;
  std::int16_t VoltageZeroY = 0;
  std::int16_t CurrentZeroY = 0;
  std::int16_t TimeAxisX = 0;
  double ZeroLineEnd = 0.0;
  std::int16_t SnapshotBottom = 0;
  std::int16_t CircuitLeft = 0;
  double CircuitRight = 0.0;
};

// Grid value to pixels, v * ScreenWidth / 320 in integer arithmetic, truncated toward zero.
int ScaleX(const ScreenLayout& layout, int v);
// Grid value to pixels, v * ScreenHeight / 200, truncated toward zero.
int ScaleY(const ScreenLayout& layout, int v);
// v * XFactor rounded to nearest, halves to even: the rule for the fixed x anchors.
int GridX(const ScreenLayout& layout, int v);

// Sets width, height and both factors from a display size.
void setScreenMetrics(ScreenLayout& layout, int width, int height);
// Computes every anchor but SnapshotBottom from the metrics.
void computeAnchors(ScreenLayout& layout);

// Start-up: reads the display size, sets the colour constants and selects pen 1.
void initScreenMetrics(Platform& platform, ScreenLayout& layout);

}  // namespace lab
