// A platform for tests: logs every call as a line of text and replays a script of keys,
// typed lines, mouse states, menu choices and the closing of the main window.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "silent_platform.h"

namespace lab::test {

// Thrown by fail(): the run-time stop of the program.
struct RuntimeStop : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The text form of a number in the call log: up to ten significant digits, no trailing zeros.
std::string num(double value);

class RecordingPlatform : public SilentPlatform {
 public:
  explicit RecordingPlatform(int width = 800, int height = 600);

  // The script. Every wait of the program takes the next event; a wait that finds the
  // script empty sees the main window closed, so a test never hangs.
  RecordingPlatform& key(const std::string& characters);  // one key event per character
  RecordingPlatform& line(const std::string& text);       // a line typed and ended by Return
  RecordingPlatform& mouse(int x, int y, int buttons = 0);
  RecordingPlatform& menu(int index);
  RecordingPlatform& pointKey(int dx, int dy);  // an arrow key of measuring
  RecordingPlatform& escapeKey();
  RecordingPlatform& closeMainWindow();
  bool scriptExhausted() const { return exhausted_; }
  std::size_t eventsLeft() const { return script_.size(); }

  // What the program did.
  std::vector<std::string> calls;         // one line a call, e.g. "draw_line 10 141 392.5 141"
  std::vector<std::string> messageBoxes;  // the text of every box, in order
  std::vector<std::string> printedLines;  // lines sent to the printer in the current job
  std::vector<std::string> menuTable;     // the table the menu bar was installed from
  std::vector<std::string> spoken;        // every announcement, "" where one was taken back
  std::vector<std::string> descriptions;  // every text the drawing was described by
  std::vector<std::string> shownPoints;   // "x y" of every point shown, "none" when hidden
  std::vector<std::vector<std::string>> tableCells;  // the cells while a table shows
  std::vector<std::string> callsStartingWith(const std::string& prefix) const;
  // The calls logged since the last call of this function.
  std::vector<std::string> takeCalls();

  // Faults to stage.
  bool printerFails = false;                // every printer call fails
  bool refuseWindowBackground = false;      // set_window_background returns false
  std::set<std::string> availablePictures;  // load_picture finds only these
  // Menu choices also run inside read_key, as on a platform that handles events there.
  bool menusInsideKeyRead = false;

  int outputWindow() const { return output_; }
  bool windowOpen(int number) const { return open_.count(number) > 0; }
  std::string currentFolder;

  // Platform
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
  void wait_for_event() override;
  void end_of_run() override;
  [[noreturn]] void fail(const std::string& what) override;
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
  // A stand-in font: every character is half the font size wide, lines 1.2 sizes apart.
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
  PointKey read_point_key() override;
  void show_point(std::optional<MousePosition> point) override;
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
  struct KeyEvent {
    std::string character;
  };
  struct LineEvent {
    std::string text;
  };
  struct MouseEvent {
    int x, y, buttons;
  };
  struct MenuEvent {
    int index;
  };
  struct CloseEvent {};
  using Event = std::variant<KeyEvent, LineEvent, MouseEvent, MenuEvent, PointKey, CloseEvent>;

  void log(const std::string& line) { calls.push_back(line); }
  void apply(const Event& event);

  std::deque<Event> script_;
  std::deque<std::string> keys_;
  std::deque<PointKey> pointKeys_;
  bool exhausted_ = false;
  bool mainOpen_ = false;
  bool closeRequested_ = false;
  int output_ = 0;
  std::set<int> open_;
  std::map<int, int> openCount_;  // how often each window was opened
  MousePosition mousePosition_;
  int mouseButtons_ = 0;
  MenuHandler menuHandler_;
  bool jobOpen_ = false;
  std::string pendingPrintLine_;
  std::size_t takenCalls_ = 0;
  std::map<int, double> fontSize_;  // per window; 12 until set
};

}  // namespace lab::test
