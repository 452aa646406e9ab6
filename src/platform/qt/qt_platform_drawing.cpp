// The Qt platform's drawing operations on the output window's backing image.
#include <algorithm>

#include "platform/qt/qt_image.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/safe_coordinates.h"

namespace lab {

namespace {

QColor toQColor(Colour c) {
  return QColor(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255));
}

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void QtPlatform::set_colour(Colour colour) {
  if (Surface* s = output()) s->attributes.fore = toQColor(colour);
}

void QtPlatform::set_back_colour(Colour colour) {
  if (Surface* s = output()) s->attributes.back = toQColor(colour);
}

void QtPlatform::set_line_style(LineStyle) {}  // solid is the only style

void QtPlatform::set_line_width(int pixels) {
  if (Surface* s = output()) s->attributes.lineWidth = std::clamp(pixels, 1, 64);
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

void QtPlatform::draw_text(double x, double y, const std::string& text) {
  if (Surface* s = output()) s->drawText(x, y, fromUtf8(text));
}

void QtPlatform::set_font_name(const std::string& name) {
  if (Surface* s = output()) s->attributes.fontName = name;
}

void QtPlatform::set_font_size(double size) {
  if (Surface* s = output()) s->attributes.fontSize = size;
}

void QtPlatform::set_text_transparent(bool transparent) {
  if (Surface* s = output()) s->attributes.transparent = transparent;
}

double QtPlatform::text_width(const std::string& text) {
  Surface* s = output();
  if (!s) s = root_;
  return s ? s->textWidth(fromUtf8(text)) : 0.0;
}

double QtPlatform::line_height() {
  Surface* s = output();
  if (!s) s = root_;
  return s ? s->lineHeight() : 0.0;
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

ImageHandle QtPlatform::capture_image(int x1, int y1, int x2, int y2) {
  Surface* s = output();
  const auto rect = safeRect(x1, y1, x2, y2);
  if (!s || !rect) return std::make_shared<QtImage>(QImage());
  QImage captured = s->capture(*rect);
  // Bands are kept for a whole run; most of them pack into a small part of their pixels.
  if (auto packed = RunLengthImage::pack(captured)) {
    return std::make_shared<QtImage>(std::move(*packed));
  }
  return std::make_shared<QtImage>(std::move(captured));
}

void QtPlatform::put_image(const ImageHandle& image, int x, int y) {
  const auto* held = dynamic_cast<const QtImage*>(image.get());
  Surface* s = output();
  const auto at = safePoint(x, y);
  if (!held || held->isNull() || !s || !at) return;
  s->putImage(held->pixels(), *at);
}

void QtPlatform::set_text_position(int x, int y) {
  if (Surface* s = output()) s->attributes.textPosition = QPointF(x, y);
}

void QtPlatform::print_text(const std::string& text, bool line_end) {
  if (Surface* s = output()) s->printText(fromUtf8(text), line_end);
}

}  // namespace lab
