// The two blank graph panels, their snapshot, and the mapping of time and values to pixels.
#include "display/graph_panel.h"

#include <cstdint>

#include "display/colours.h"
#include "display/display_state.h"
#include "display/rounding.h"
#include "display/screen_layout.h"
#include "display/strip_store.h"

namespace lab {

void DrawGraphPanel(Platform& p, DisplayState& display, const DisplayVariant& variant) {
  ScreenLayout& l = display.layout;

  p.set_output_window(0);
  p.set_line_style(LineStyle::Solid);
  p.set_line_width(1);
  p.set_font_size(12.0 * p.display_width() / 800);

  computeAnchors(l);

  p.set_colour(ColourBlue);
  p.fill_box(l.GraphLeft, l.VoltagePanelTop, l.GraphRight, l.VoltagePanelBottom);
  p.fill_box(l.GraphLeft, l.CurrentPanelTop, l.GraphRight, l.CurrentPanelBottom);

  p.set_colour(ColourWhite);
  p.set_back_colour(ColourBlue);

  p.draw_line(l.TimeAxisX, l.VoltageZeroY, l.ZeroLineEnd, l.VoltageZeroY);
  p.draw_line(l.TimeAxisX, l.CurrentZeroY, l.ZeroLineEnd, l.CurrentZeroY);

  // The vertical axes stop 9 pixels short of the frames so they never touch them.
  p.draw_line(l.TimeAxisX, l.CurrentPanelBottom - 9, l.TimeAxisX, l.CurrentPanelTop + 9);
  p.draw_line(l.TimeAxisX, l.VoltagePanelBottom - 9, l.TimeAxisX, l.VoltagePanelTop + 9);

  p.draw_box(l.GraphLeft, l.VoltagePanelTop, l.GraphRight, l.VoltagePanelBottom);
  p.draw_box(l.GraphLeft, l.CurrentPanelTop, l.GraphRight, l.CurrentPanelBottom);

  p.draw_text(ScaleX(l, 140), ScaleY(l, 48), "Zeit");
  p.draw_text(ScaleX(l, 140), ScaleY(l, 142), "Zeit");
  p.draw_text(ScaleX(l, 7), ScaleY(l, 4), variant.upperPanelTitle);
  p.draw_text(ScaleX(l, 7), ScaleY(l, 98), variant.lowerPanelTitle);

  SaveStrips(p, display.GraphSnapshot, 0, l.GraphRight, l.SnapshotBottom, 20);
}

std::int16_t PlotX(const ScreenLayout& layout, double t) {
  // A non-finite time lands at x 0 (toInt16), left of the axis and out of the way.
  return toInt16(t * 10 * layout.XFactor + 10);
}

std::int16_t PlotY(const ScreenLayout& layout, double v, int zeroY) {
  // NaN maps to a = 0, that is onto the zero line; infinities and huge values are clamped.
  const std::int64_t a = toInt32(v * -300);
  const std::int64_t b = a * layout.ScreenHeight / 200;
  return toInt16(static_cast<double>(b) * 0.01 + zeroY);
}

}  // namespace lab
