// The Qt platform's text on the output window: fonts, measuring, text drawn from its top-left
// corner, and the text cursor of print_text.
#include "platform/qt/qt_platform.h"

namespace lab {

namespace {

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

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

void QtPlatform::set_text_position(int x, int y) {
  if (Surface* s = output()) s->attributes.textPosition = QPointF(x, y);
}

void QtPlatform::print_text(const std::string& text, bool line_end) {
  if (Surface* s = output()) s->printText(fromUtf8(text), line_end);
}

}  // namespace lab
