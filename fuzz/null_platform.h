// A platform for the fuzz targets: draws nothing, replays queued keys and lines, and stops the
// process at once when the program hands it a coordinate no pixel could have.
#pragma once

#include <deque>
#include <string>

#include "platform/platform.h"

namespace lab::fuzz {

class NullPlatform : public Platform {
 public:
  NullPlatform(int width, int height) : width_(width), height_(height) {}

  // Once both queues are empty, every wait sees the main window closed.
  std::deque<std::string> keys;
  std::deque<std::string> lines;

  void open_main_window() override { mainOpen_ = true; }
  void open_window(int, const WindowGeometry& geometry) override;
  void close_window(int number) override;
  void activate_window(int) override {}
  void set_caption(int, const std::string&) override {}
  bool set_window_background(int, Colour) override { return true; }
  void set_output_window(int) override {}
  void clear_window() override {}
  bool main_window_exists() override { return mainOpen_; }
  bool close_requested() override { return !mainOpen_; }
  void process_events() override {}
  void wait_for_event() override;
  void yield_once() override {}
  void end_of_run() override {}
  [[noreturn]] void fail(const std::string& what) override;
  int display_width() override { return width_; }
  int display_height() override { return height_; }
  void set_colour(Colour colour) override;
  void set_back_colour(Colour colour) override;
  void set_line_style(LineStyle) override {}
  void set_line_width(int pixels) override;
  void draw_line(double x1, double y1, double x2, double y2) override;
  void draw_box(double x1, double y1, double x2, double y2) override;
  void fill_box(double x1, double y1, double x2, double y2) override;
  void draw_circle(double cx, double cy, double radius) override;
  void draw_text(double x, double y, const std::string& text) override;
  void set_font_name(const std::string&) override {}
  void set_font_size(double size) override;
  void set_text_transparent(bool) override {}
  double text_width(const std::string& text) override;
  double line_height() override { return fontSize_ * 1.2; }
  void set_clip(double x1, double y1, double x2, double y2) override;
  void clear_clip() override {}
  ImageHandle capture_image(int x1, int y1, int x2, int y2) override;
  void put_image(const ImageHandle& image, int x, int y) override;
  void set_text_position(int x, int y) override;
  void print_text(const std::string&, bool) override {}
  std::string read_key() override;
  LineResult read_line() override;
  MousePosition mouse_position() override { return {}; }
  int mouse_buttons() override { return 0; }
  void set_cursor(CursorShape) override {}
  void message_box(const std::string&, BoxSymbol) override {}
  void install_menu(const std::vector<std::string>&, MenuHandler) override {}
  bool printer_write(const std::string&, bool) override { return true; }
  bool printer_set_font_size(double size) override;
  bool printer_end_page() override { return true; }
  bool printer_end_job() override { return true; }
  ImageHandle load_picture(const std::string&) override { return nullptr; }
  void put_picture_stretched(const ImageHandle&, int x, int y, int width, int height) override;
  std::string picture_folder() override { return "."; }
  bool set_current_folder(const std::string&) override { return true; }

 private:
  void endIfIdle();

  int width_;
  int height_;
  bool mainOpen_ = false;
  double fontSize_ = 12.0;
};

// Reports what went wrong and aborts, so that libFuzzer keeps the input that did it.
[[noreturn]] void fault(const std::string& what);

}  // namespace lab::fuzz
