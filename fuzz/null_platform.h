// A platform for the fuzz targets: draws nothing, replays queued keys and lines, and stops the
// process at once when the program hands it a coordinate no pixel could have.
#pragma once

#include <deque>
#include <string>

#include "silent_platform.h"

namespace lab::fuzz {

class NullPlatform : public SilentPlatform {
 public:
  using SilentPlatform::SilentPlatform;

  // Once both queues are empty, every wait sees the main window closed.
  std::deque<std::string> keys;
  std::deque<std::string> lines;

  void open_main_window() override { mainOpen_ = true; }
  void open_window(int, const WindowGeometry& geometry) override;
  void close_window(int number) override;
  bool main_window_exists() override { return mainOpen_; }
  bool close_requested() override { return !mainOpen_; }
  void wait_for_event() override;
  [[noreturn]] void fail(const std::string& what) override;
  void set_colour(Colour colour) override;
  void set_back_colour(Colour colour) override;
  void set_line_width(int pixels) override;
  void draw_line(double x1, double y1, double x2, double y2) override;
  void draw_box(double x1, double y1, double x2, double y2) override;
  void fill_box(double x1, double y1, double x2, double y2) override;
  void draw_circle(double cx, double cy, double radius) override;
  void draw_text(double x, double y, const std::string& text) override;
  void set_font_size(double size) override;
  double text_width(const std::string& text) override;
  double line_height() override { return fontSize_ * 1.2; }
  void set_clip(double x1, double y1, double x2, double y2) override;
  ImageHandle capture_image(int x1, int y1, int x2, int y2) override;
  void put_image(const ImageHandle& image, int x, int y) override;
  void set_text_position(int x, int y) override;
  std::string read_key() override;
  LineResult read_line() override;
  bool printer_set_font_size(double size) override;
  void put_picture_stretched(const ImageHandle&, int x, int y, int width, int height) override;

 private:
  void endIfIdle();

  bool mainOpen_ = false;
  double fontSize_ = 12.0;
};

// Reports what went wrong and aborts, so that libFuzzer keeps the input that did it.
[[noreturn]] void fault(const std::string& what);

}  // namespace lab::fuzz
