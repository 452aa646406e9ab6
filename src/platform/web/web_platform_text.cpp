// The browser platform's text on the output window's canvas: fonts, measuring, text drawn from
// its top-left corner, and the text cursor of print_text.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

void WebPlatform::draw_text(double x, double y, const std::string& text) {
  lab_draw_text(x, y, text.c_str());
}

void WebPlatform::set_font_name(const std::string& name) {
  lab_set_font_name(name.c_str());
}

void WebPlatform::set_font_size(double size) {
  lab_set_font_size(size);
}

void WebPlatform::set_text_transparent(bool transparent) {
  lab_set_text_transparent(transparent ? 1 : 0);
}

double WebPlatform::text_width(const std::string& text) {
  return lab_text_width(text.c_str());
}

double WebPlatform::line_height() {
  return lab_line_height();
}

void WebPlatform::set_text_position(int x, int y) {
  lab_set_text_position(x, y);
}

void WebPlatform::print_text(const std::string& text, bool line_end) {
  lab_print_text(text.c_str(), line_end ? 1 : 0);
}

}  // namespace lab
