// The fuzz platform: every coordinate must be finite and fit a 16-bit pixel position.
#include "null_platform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace lab::fuzz {

namespace {

void checkPixel(double value, const char* what) {
  constexpr double low = std::numeric_limits<std::int16_t>::min();
  constexpr double high = std::numeric_limits<std::int16_t>::max();
  if (!std::isfinite(value) || value < low || value > high) {
    fault(std::string(what) + " got the coordinate " + std::to_string(value));
  }
}

void checkColour(Colour colour) {
  for (int channel : {colour.red, colour.green, colour.blue}) {
    if (channel < 0 || channel > 255) fault("colour channel out of range");
  }
}

}  // namespace

void fault(const std::string& what) {
  std::fprintf(stderr, "fuzz fault: %s\n", what.c_str());
  std::abort();
}

void NullPlatform::open_window(int, const WindowGeometry& geometry) {
  if (geometry.width < 0 || geometry.height < 0) fault("open_window with a negative size");
}

void NullPlatform::close_window(int number) {
  if (number == 0) mainOpen_ = false;
}

void NullPlatform::endIfIdle() {
  if (keys.empty() && lines.empty()) mainOpen_ = false;
}

void NullPlatform::wait_for_event() {
  endIfIdle();
}

void NullPlatform::fail(const std::string& what) {
  fault("run-time stop: " + what);
}

void NullPlatform::set_colour(Colour colour) {
  checkColour(colour);
}
void NullPlatform::set_back_colour(Colour colour) {
  checkColour(colour);
}

void NullPlatform::set_line_width(int pixels) {
  if (pixels != 1 && pixels != 3) fault("line width " + std::to_string(pixels));
}

void NullPlatform::draw_line(double x1, double y1, double x2, double y2) {
  checkPixel(x1, "draw_line");
  checkPixel(y1, "draw_line");
  checkPixel(x2, "draw_line");
  checkPixel(y2, "draw_line");
}

void NullPlatform::draw_box(double x1, double y1, double x2, double y2) {
  draw_line(x1, y1, x2, y2);
}

void NullPlatform::fill_box(double x1, double y1, double x2, double y2) {
  draw_line(x1, y1, x2, y2);
}

void NullPlatform::draw_circle(double cx, double cy, double radius) {
  checkPixel(cx, "draw_circle");
  checkPixel(cy, "draw_circle");
  checkPixel(radius, "draw_circle radius");
}

void NullPlatform::draw_text(double x, double y, const std::string&) {
  checkPixel(x, "draw_text");
  checkPixel(y, "draw_text");
}

void NullPlatform::set_font_size(double size) {
  if (!std::isfinite(size) || size < 0) fault("font size " + std::to_string(size));
  fontSize_ = size;
}

double NullPlatform::text_width(const std::string& text) {
  return static_cast<double>(text.size()) * fontSize_ * 0.5;
}

void NullPlatform::set_clip(double x1, double y1, double x2, double y2) {
  checkPixel(x1, "set_clip");
  checkPixel(y1, "set_clip");
  checkPixel(x2, "set_clip");
  checkPixel(y2, "set_clip");
}

ImageHandle NullPlatform::capture_image(int x1, int y1, int x2, int y2) {
  draw_line(x1, y1, x2, y2);
  return SilentPlatform::capture_image(x1, y1, x2, y2);
}

void NullPlatform::put_image(const ImageHandle&, int x, int y) {
  checkPixel(x, "put_image");
  checkPixel(y, "put_image");
}

void NullPlatform::set_text_position(int x, int y) {
  checkPixel(x, "set_text_position");
  checkPixel(y, "set_text_position");
}

std::string NullPlatform::read_key() {
  if (keys.empty()) return "";
  std::string key = keys.front();
  keys.pop_front();
  return key;
}

LineResult NullPlatform::read_line() {
  if (lines.empty()) {
    mainOpen_ = false;
    return {LineStatus::WindowClosed, ""};
  }
  LineResult result{LineStatus::Entered, lines.front()};
  lines.pop_front();
  return result;
}

bool NullPlatform::printer_set_font_size(double size) {
  if (!std::isfinite(size) || size <= 0) fault("printer font size");
  return true;
}

void NullPlatform::put_picture_stretched(const ImageHandle&, int x, int y, int width, int height) {
  checkPixel(x, "put_picture_stretched");
  checkPixel(y, "put_picture_stretched");
  if (width < 0 || height < 0) fault("put_picture_stretched with a negative size");
}

}  // namespace lab::fuzz
