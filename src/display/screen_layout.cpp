// Screen metrics, the grid scaling rules and the layout anchors computed from them.
#include "display/screen_layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "display/colours.h"
#include "display/rounding.h"
#include "platform/platform.h"

namespace lab {

namespace {

// Anchors are 16-bit; a display too large for them still gets valid, clamped values.
std::int16_t to16(std::int64_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

int ScaleX(const ScreenLayout& layout, int v) {
  // 64-bit product so no grid value can overflow; integer division truncates toward zero.
  return static_cast<int>(static_cast<std::int64_t>(v) * layout.ScreenWidth / 320);
}

int ScaleY(const ScreenLayout& layout, int v) {
  return static_cast<int>(static_cast<std::int64_t>(v) * layout.ScreenHeight / 200);
}

int GridX(const ScreenLayout& layout, int v) {
  return toInt32(v * layout.XFactor);
}

void setScreenMetrics(ScreenLayout& layout, int width, int height) {
  layout.ScreenHeight = to16(height);
  layout.YFactor = height / 200.0;
  layout.ScreenWidth = to16(width);
  layout.XFactor = width / 320.0;
}

void computeAnchors(ScreenLayout& layout) {
  layout.CurrentPanelTop = to16(ScaleY(layout, 95));
  layout.CurrentPanelBottom = to16(ScaleY(layout, 186));
  layout.VoltagePanelTop = to16(ScaleY(layout, 2));
  layout.VoltagePanelBottom = to16(ScaleY(layout, 92));
  layout.VoltageZeroY = toInt16((layout.VoltagePanelTop + layout.VoltagePanelBottom) * 0.5);
  layout.CurrentZeroY = toInt16((layout.CurrentPanelTop + layout.CurrentPanelBottom) * 0.5);
  layout.GraphLeft = 5;
  layout.CircuitLeft = to16(GridX(layout, 164));
  layout.GraphRight = toInt16(159 * layout.XFactor + 1);
  layout.TimeAxisX = 10;
  layout.ZeroLineEnd = 157 * layout.XFactor;
  layout.CircuitRight = layout.ScreenWidth - 4 * layout.XFactor;
}

void initScreenMetrics(Platform& platform, ScreenLayout& layout) {
  const int height = platform.display_height();
  const int width = platform.display_width();
  setScreenMetrics(layout, width, height);
  // The anchors follow from the metrics alone; having them early keeps every early reader sane.
  computeAnchors(layout);
  SelectPen(platform, 1);
}

}  // namespace lab
