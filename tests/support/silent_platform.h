// A platform that does nothing: every call is a harmless no-op with a neutral result. The test,
// fuzz and benchmark platforms build on it and override only what they need.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lab {

class SilentPlatform : public Platform {
 public:
  SilentPlatform(int width, int height) : width_(width), height_(height) {}

  void open_main_window() override {}
  void open_window(int, const WindowGeometry&) override {}
  void close_window(int) override {}
  void activate_window(int) override {}
  void set_caption(int, const std::string&) override {}
  bool set_window_background(int, Colour) override { return true; }
  void set_output_window(int) override {}
  void clear_window() override {}
  // No main window: every wait ends at once, so nothing run on this platform can hang.
  bool main_window_exists() override { return false; }
  bool close_requested() override { return false; }
  void process_events() override {}
  void wait_for_event() override {}
  void yield_once() override {}
  void end_of_run() override {}
  [[noreturn]] void fail(const std::string& what) override;  // reports and aborts
  int display_width() override { return width_; }
  int display_height() override { return height_; }
  void set_colour(Colour) override {}
  void set_back_colour(Colour) override {}
  void set_line_style(LineStyle) override {}
  void set_line_width(int) override {}
  void draw_line(double, double, double, double) override {}
  void draw_box(double, double, double, double) override {}
  void fill_box(double, double, double, double) override {}
  void draw_circle(double, double, double) override {}
  void draw_text(double, double, const std::string&) override {}
  void set_font_name(const std::string&) override {}
  void set_font_size(double) override {}
  void set_text_transparent(bool) override {}
  double text_width(const std::string&) override { return 0; }
  double line_height() override { return 0; }
  void set_clip(double, double, double, double) override {}
  void clear_clip() override {}
  ImageHandle capture_image(int, int, int, int) override;  // an empty image, never null
  void put_image(const ImageHandle&, int, int) override {}
  void set_text_position(int, int) override {}
  void print_text(const std::string&, bool) override {}
  std::string read_key() override { return ""; }
  LineResult read_line() override { return {LineStatus::WindowClosed, ""}; }
  MousePosition mouse_position() override { return {}; }
  int mouse_buttons() override { return 0; }
  void set_cursor(CursorShape) override {}
  PointKey read_point_key() override { return {}; }
  void show_point(std::optional<MousePosition>) override {}
  void announce(const std::string&) override {}
  void describe_drawing(const std::string&) override {}
  void show_table_cells(const std::vector<std::vector<std::string>>&) override {}
  void message_box(const std::string&, BoxSymbol) override {}
  void install_menu(const std::vector<std::string>&, MenuHandler) override {}
  bool printer_write(const std::string&, bool) override { return true; }
  bool printer_set_font_size(double) override { return true; }
  bool printer_end_page() override { return true; }
  bool printer_end_job() override { return true; }
  ImageHandle load_picture(const std::string&) override { return nullptr; }
  void put_picture_stretched(const ImageHandle&, int, int, int, int) override {}
  std::string picture_folder() override { return "."; }
  bool set_current_folder(const std::string&) override { return true; }

 private:
  int width_;
  int height_;
};

}  // namespace lab
