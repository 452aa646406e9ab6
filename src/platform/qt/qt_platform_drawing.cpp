// The Qt platform's drawing on the output window's backing image: colours, pens, lines, boxes
// and circles, clipped to the window's clip rectangle.
#include <algorithm>

#include "platform/high_contrast.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/safe_coordinates.h"

namespace lab {

namespace {

QColor toQColor(Colour c) {
  return QColor(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255));
}

}  // namespace

void QtPlatform::set_colour(Colour colour) {
  if (highContrast_) colour = highContrastPen(colour);
  if (Surface* s = output()) s->attributes.fore = toQColor(colour);
}

void QtPlatform::set_back_colour(Colour colour) {
  if (highContrast_) colour = highContrastGround(colour);
  if (Surface* s = output()) s->attributes.back = toQColor(colour);
}

void QtPlatform::useHighContrast() {
  highContrast_ = true;
}

// Thin lines fade on a projector: under high contrast no line is thinner than two pixels.
int QtPlatform::minLineWidth() const {
  return highContrast_ ? 2 : 1;
}

void QtPlatform::set_line_style(LineStyle) {}  // solid is the only style

void QtPlatform::set_line_width(int pixels) {
  if (Surface* s = output()) s->attributes.lineWidth = std::clamp(pixels, minLineWidth(), 64);
}

void QtPlatform::draw_line(double x1, double y1, double x2, double y2) {
  if (Surface* s = output()) s->drawLine(x1, y1, x2, y2);
}

void QtPlatform::draw_box(double x1, double y1, double x2, double y2) {
  if (Surface* s = output()) s->drawBox(x1, y1, x2, y2);
}

void QtPlatform::fill_box(double x1, double y1, double x2, double y2) {
  if (Surface* s = output()) s->fillBox(x1, y1, x2, y2);
}

void QtPlatform::draw_circle(double cx, double cy, double radius) {
  if (Surface* s = output()) s->drawCircle(cx, cy, radius);
}

void QtPlatform::set_clip(double x1, double y1, double x2, double y2) {
  Surface* s = output();
  if (!s) return;
  // A clip with an undefined corner lets nothing through rather than everything.
  s->attributes.clip = safeRect(x1, y1, x2, y2).value_or(QRect());
}

void QtPlatform::clear_clip() {
  if (Surface* s = output()) s->attributes.clip.reset();
}

}  // namespace lab
