// The browser platform's drawing on the output window's canvas: colours, pens, lines, boxes and
// circles, clipped to the window's clip rectangle.
#include <algorithm>

#include "platform/high_contrast.h"
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

// Handed over as numbers; the page spells them in the rgb() text of a window's background.
void WebPlatform::setPageColour(bool back, Colour colour) {
  if (highContrast_) colour = back ? highContrastGround(colour) : highContrastPen(colour);
  lab_set_colour(back ? 1 : 0, std::clamp(colour.red, 0, 255), std::clamp(colour.green, 0, 255),
                 std::clamp(colour.blue, 0, 255));
}

void WebPlatform::set_colour(Colour colour) {
  setPageColour(false, colour);
}

void WebPlatform::set_back_colour(Colour colour) {
  setPageColour(true, colour);
}

void WebPlatform::set_line_style(LineStyle) {}  // solid is the only style

void WebPlatform::set_line_width(int pixels) {
  lab_set_line_width(std::clamp(pixels, 1, 64));
}

void WebPlatform::draw_line(double x1, double y1, double x2, double y2) {
  lab_draw_line(x1, y1, x2, y2);
}

void WebPlatform::draw_box(double x1, double y1, double x2, double y2) {
  lab_draw_box(x1, y1, x2, y2);
}

void WebPlatform::fill_box(double x1, double y1, double x2, double y2) {
  lab_fill_box(x1, y1, x2, y2);
}

void WebPlatform::draw_circle(double cx, double cy, double radius) {
  lab_draw_circle(cx, cy, radius);
}

void WebPlatform::set_clip(double x1, double y1, double x2, double y2) {
  lab_set_clip(x1, y1, x2, y2);
}

void WebPlatform::clear_clip() {
  lab_clear_clip();
}

}  // namespace lab
