// The browser platform's drawing, text and pictures, each handed to the output window's canvas.
#include <algorithm>

#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

namespace {

std::string cssColour(Colour colour) {
  return "rgb(" + std::to_string(std::clamp(colour.red, 0, 255)) + "," +
         std::to_string(std::clamp(colour.green, 0, 255)) + "," +
         std::to_string(std::clamp(colour.blue, 0, 255)) + ")";
}

// The page spells the colour as cssColour does.
void setPageColour(bool back, Colour colour) {
  lab_set_colour(back ? 1 : 0, std::clamp(colour.red, 0, 255), std::clamp(colour.green, 0, 255),
                 std::clamp(colour.blue, 0, 255));
}

// An image the page keeps for the program: a captured band or a decoded picture.
class PageImage : public PlatformImage {
 public:
  explicit PageImage(int id) : id(id) {}
  ~PageImage() override { lab_free_image(id); }
  PageImage(const PageImage&) = delete;
  PageImage& operator=(const PageImage&) = delete;
  const int id;
};

int imageId(const ImageHandle& image) {
  const auto* held = dynamic_cast<const PageImage*>(image.get());
  return held ? held->id : 0;
}

}  // namespace

bool WebPlatform::set_window_background(int number, Colour colour) {
  return lab_set_background(number, cssColour(colour).c_str()) != 0;
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

void WebPlatform::set_clip(double x1, double y1, double x2, double y2) {
  lab_set_clip(x1, y1, x2, y2);
}

void WebPlatform::clear_clip() {
  lab_clear_clip();
}

ImageHandle WebPlatform::capture_image(int x1, int y1, int x2, int y2) {
  return std::make_shared<PageImage>(lab_capture_image(x1, y1, x2, y2));
}

void WebPlatform::put_image(const ImageHandle& image, int x, int y) {
  if (const int id = imageId(image)) lab_put_image(id, x, y);
}

void WebPlatform::set_text_position(int x, int y) {
  lab_set_text_position(x, y);
}

void WebPlatform::print_text(const std::string& text, bool line_end) {
  lab_print_text(text.c_str(), line_end ? 1 : 0);
}

ImageHandle WebPlatform::load_picture(const std::string& file_name) {
  const int id = lab_load_picture(file_name.c_str());
  if (id == 0) {
    message_box("Das Bild " + file_name + " fehlt oder ist nicht lesbar.", BoxSymbol::Information);
    return nullptr;
  }
  return std::make_shared<PageImage>(id);
}

void WebPlatform::put_picture_stretched(const ImageHandle& picture, int x, int y, int width,
                                        int height) {
  if (const int id = imageId(picture)) lab_put_picture(id, x, y, width, height);
}

// The pictures are part of the page; there is no folder to change to.
std::string WebPlatform::picture_folder() {
  return ".";
}

bool WebPlatform::set_current_folder(const std::string&) {
  return true;
}

}  // namespace lab
