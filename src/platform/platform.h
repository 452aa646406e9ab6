// The desktop services the programs ask for, as one abstract class with plain types and no Qt:
// numbered windows, drawing, menus, message boxes, text input, mouse, printer and pictures.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lab {

struct Colour {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// An image the platform holds for the program: a captured screen band or a loaded picture.
class PlatformImage {
 public:
  virtual ~PlatformImage() = default;
};
using ImageHandle = std::shared_ptr<const PlatformImage>;

struct WindowGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

enum class LineStyle { Solid };
enum class CursorShape { Arrow, CrossHair };
// Message boxes of ShowMessage use Information; the author box asks for its own style.
enum class BoxSymbol { Information, Author };

struct MousePosition {
  int x = 0;
  int y = 0;
};
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;

// How a line input ended.
enum class LineStatus {
  Entered,      // Return was pressed; text holds the line
  Interrupted,  // a nested command closed or reopened the window being read; prompt again
  WindowClosed  // the main window is gone; the program is ending
};
struct LineResult {
  LineStatus status = LineStatus::WindowClosed;
  std::string text;
};

using MenuHandler = std::function<void(int index)>;

// A key that moves the measuring point (dx, dy drawing pixels) or ends measuring (Escape).
struct PointKey {
  int dx = 0;
  int dy = 0;
  bool escape = false;
  bool any() const { return dx != 0 || dy != 0 || escape; }
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Windows. Window 0 is the main window; opening a window makes it the output target.
  virtual void open_main_window() = 0;  // default position and size, maximized
  virtual void open_window(int number, const WindowGeometry& geometry) = 0;
  virtual void close_window(int number) = 0;  // harmless when not open
  virtual void activate_window(int number) = 0;
  virtual void set_caption(int number, const std::string& caption) = 0;
  virtual bool set_window_background(int number, Colour colour) = 0;  // false: refused
  virtual void set_output_window(int number) = 0;                     // drawing and text go there
  virtual void clear_window() = 0;  // the output window, to its background colour
  virtual bool main_window_exists() = 0;
  virtual bool close_requested() = 0;  // the last event was a request to close a window
  virtual void process_events() = 0;
  // Blocks until at least one new event (key, mouse, menu choice, close) has been handled;
  // every polling loop calls it between passes so that no wait spins the CPU.
  virtual void wait_for_event() = 0;
  virtual void yield_once() = 0;
  virtual void end_of_run() = 0;
  // Stops the program with a run-time error report; used when a platform call failed.
  [[noreturn]] virtual void fail(const std::string& what) = 0;

  // Display size in pixels: the drawing area of the main window at start-up.
  virtual int display_width() = 0;
  virtual int display_height() = 0;

  // Drawing on the output window. Coordinates are pixels of that window.
  virtual void set_colour(Colour colour) = 0;
  virtual void set_back_colour(Colour colour) = 0;
  virtual void set_line_style(LineStyle style) = 0;
  virtual void set_line_width(int pixels) = 0;
  virtual void draw_line(double x1, double y1, double x2, double y2) = 0;
  virtual void draw_box(double x1, double y1, double x2, double y2) = 0;
  virtual void fill_box(double x1, double y1, double x2, double y2) = 0;
  virtual void draw_circle(double cx, double cy, double radius) = 0;
  virtual void draw_text(double x, double y, const std::string& text) = 0;  // top-left corner
  virtual void set_font_name(const std::string& name) = 0;
  virtual void set_font_size(double size) = 0;
  virtual void set_text_transparent(bool transparent) = 0;
  // Font metrics of the output window's current font, in pixels.
  virtual double text_width(const std::string& text) = 0;
  virtual double line_height() = 0;
  virtual void set_clip(double x1, double y1, double x2, double y2) = 0;
  virtual void clear_clip() = 0;
  virtual ImageHandle capture_image(int x1, int y1, int x2, int y2) = 0;
  virtual void put_image(const ImageHandle& image, int x, int y) = 0;

  // Text output and input in the output window.
  virtual void set_text_position(int x, int y) = 0;
  virtual void print_text(const std::string& text, bool line_end) = 0;
  virtual std::string read_key() = 0;  // one key character, "" when none is waiting
  virtual LineResult read_line() = 0;  // an edit field at the text position, ended by Return
  virtual MousePosition mouse_position() = 0;
  virtual int mouse_buttons() = 0;  // LeftButton | RightButton
  virtual void set_cursor(CursorShape shape) = 0;
  // The oldest arrow key (Shift: ten pixels) or Escape pressed since the last call and not
  // yet read; none when nothing waits. Measuring drains them before it begins.
  virtual PointKey read_point_key() = 0;
  // Shows where the keys have put the measuring point, which no pointer shows (on the desktop
  // the pointer itself goes there); none hides it. Never drawn into the drawing.
  virtual void show_point(std::optional<MousePosition> point) = 0;

  // For those who do not see the drawing. announce: a short text a screen reader speaks
  // politely, once ("" takes back what waits unspoken). describe_drawing: what the drawing
  // shows now when that is not the graph and the circuit ("" back to those). show_table_cells:
  // the table of values as cells, headings first, while it shows (empty: it is gone).
  virtual void announce(const std::string& text) = 0;
  virtual void describe_drawing(const std::string& text) = 0;
  virtual void show_table_cells(const std::vector<std::vector<std::string>>& rows) = 0;

  // Modal message box with the single button "OK"; "|" separates lines.
  virtual void message_box(const std::string& text, BoxSymbol symbol) = 0;

  // Menu bar from a table: per group the title, its entries and an empty text; a second
  // empty text after the last group. A choice calls the handler with the entry's index.
  virtual void install_menu(const std::vector<std::string>& table, MenuHandler handler) = 0;

  // Printer: the first write opens a job on the default printer, without a dialog. A false
  // result means the job failed; the platform has told the pupil and dropped the job.
  virtual bool printer_write(const std::string& text, bool line_end) = 0;
  virtual bool printer_set_font_size(double size) = 0;
  virtual bool printer_end_page() = 0;
  virtual bool printer_end_job() = 0;

  // Pictures by bare file name from the current folder. A null handle means the picture is
  // missing or unreadable; the platform has told the pupil.
  virtual ImageHandle load_picture(const std::string& file_name) = 0;
  virtual void put_picture_stretched(const ImageHandle& picture, int x, int y, int width,
                                     int height) = 0;
  // The folder that holds the program's pictures, and making a folder the current one.
  virtual std::string picture_folder() = 0;
  virtual bool set_current_folder(const std::string& folder) = 0;
};

}  // namespace lab
