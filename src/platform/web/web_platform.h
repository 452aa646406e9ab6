// The platform of the programs in the browser: each call goes to the page, which draws on
// retained canvases and keeps the menu bar, boxes, line input and the key and pointer queues.
// Waits suspend the program until the page reports the next DOM event.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/box_kind.h"
#include "platform/platform.h"

namespace lab {

class WebPlatform : public Platform {
 public:
  explicit WebPlatform(std::string programName);

  void open_main_window() override;
  void open_window(int number, const WindowGeometry& geometry) override;
  void close_window(int number) override;
  void activate_window(int number) override;
  void set_caption(int number, const std::string& caption) override;
  bool set_window_background(int number, Colour colour) override;
  void set_output_window(int number) override;
  void clear_window() override;
  bool main_window_exists() override;
  bool close_requested() override;
  void process_events() override;
  void wait_for_event() override;
  void yield_once() override;
  void end_of_run() override;
  [[noreturn]] void fail(const std::string& what) override;

  int display_width() override;
  int display_height() override;

  void set_colour(Colour colour) override;
  void set_back_colour(Colour colour) override;
  void set_line_style(LineStyle style) override;
  void set_line_width(int pixels) override;
  void draw_line(double x1, double y1, double x2, double y2) override;
  void draw_box(double x1, double y1, double x2, double y2) override;
  void fill_box(double x1, double y1, double x2, double y2) override;
  void draw_circle(double cx, double cy, double radius) override;
  void draw_text(double x, double y, const std::string& text) override;
  void set_font_name(const std::string& name) override;
  void set_font_size(double size) override;
  void set_text_transparent(bool transparent) override;
  double text_width(const std::string& text) override;
  double line_height() override;
  void set_clip(double x1, double y1, double x2, double y2) override;
  void clear_clip() override;
  ImageHandle capture_image(int x1, int y1, int x2, int y2) override;
  void put_image(const ImageHandle& image, int x, int y) override;

  void set_text_position(int x, int y) override;
  void print_text(const std::string& text, bool line_end) override;
  std::string read_key() override;
  LineResult read_line() override;
  MousePosition mouse_position() override;
  int mouse_buttons() override;
  void set_cursor(CursorShape shape) override;
  void show_point(std::optional<MousePosition> point) override;
  PointKey read_point_key() override;
  void announce(const std::string& text) override;
  void describe_drawing(const std::string& text) override;
  void show_table_cells(const std::vector<std::vector<std::string>>& rows) override;

  void message_box(const std::string& text, BoxSymbol symbol) override;
  void install_menu(const std::vector<std::string>& table, MenuHandler handler) override;

  bool printer_write(const std::string& text, bool line_end) override;
  bool printer_set_font_size(double size) override;
  bool printer_end_page() override;
  bool printer_end_job() override;

  ImageHandle load_picture(const std::string& file_name) override;
  void put_picture_stretched(const ImageHandle& picture, int x, int y, int width,
                             int height) override;
  std::string picture_folder() override;
  bool set_current_folder(const std::string& folder) override;

 private:
  // Hands one menu choice to the program, nested in whatever waits now.
  void runMenuChoice(int index);
  // Runs the menu choices the page has queued since the last look.
  void runQueuedMenuChoices();
  void showBox(const std::string& text, BoxKind kind, bool evenWithoutMainWindow);
  void setPageColour(bool back, Colour colour);

  std::string programName_;
  bool highContrast_ = false;     // the page's choice, made before the program starts
  std::map<int, int> openCount_;  // opens and closes per window: a line input sees changes
  int output_ = 0;
  MenuHandler menuHandler_;
  int boxDepth_ = 0;
  bool ended_ = false;
};

}  // namespace lab
