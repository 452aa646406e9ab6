// The platform of the programs on Qt Widgets: the main window with its retained drawing, the
// frames of windows 2 and 3, menus, message boxes, keys, mouse, line input, printer, pictures.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QMessageBox>
#include <QPointer>

#include "platform/box_kind.h"
#include "platform/platform.h"
#include "platform/qt/main_window.h"
#include "platform/qt/printer_job.h"
#include "platform/qt/surface.h"

class QApplication;
class QKeyEvent;

namespace lab {

class QtPlatform : public Platform {
 public:
  // Creates the application object unless one exists already (the GUI tests make their own).
  QtPlatform(int& argc, char** argv, std::string programName);
  // Dark lines and text on white from here on, for a projector or a pupil who needs it.
  void useHighContrast();
  ~QtPlatform() override;
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  // For tests: the main window, the box now showing, and a window's backing image.
  MainWindow* mainWindow() const { return main_; }
  QMessageBox* currentMessageBox() const { return box_; }
  const QImage* windowImage(int number) const;
  Surface* windowSurface(int number) const;

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
  Surface* output() const;
  int minLineWidth() const;
  // Hands one menu choice to the program, nested in whatever waits now.
  void runMenuChoice(int index);
  void showBox(const std::string& text, BoxKind kind, bool evenWithoutMainWindow);
  void blockMainInput(bool blocked);
  void waitUntilSettled();
  // Grows the main window, frame and all, to the screen's free area.
  void fillFreeArea();
  void destroyWindows();
  // Watches the main window's keys for measuring and for copying the table (qt_platform_access).
  void watchKeys();
  bool takeWatchedKey(const QKeyEvent& event);

  std::unique_ptr<QApplication> ownedApp_;
  // Counts the events a wait may be waiting for: everything but the repaints of our drawing.
  std::unique_ptr<QObject> newsCounter_;
  unsigned long news_ = 0;
  std::string programName_;
  std::string caption_;
  MainWindow* main_ = nullptr;  // owned; deleted with destroyWindows
  Surface* root_ = nullptr;     // the main window's central widget
  std::map<int, QPointer<Surface>> frames_;
  std::map<int, int> openCount_;  // opens and closes per window: a line input sees changes
  int output_ = 0;
  bool mainOpen_ = false;
  bool closeRequested_ = false;
  bool highContrast_ = false;
  QSize display_;
  MouseState mouse_;
  // Where show_point put the pointer, on the screen and in the drawing: the mouse reads that
  // point, not the pixel its rounded screen position maps back to, until the pointer moves.
  struct PlacedPointer {
    QPoint global;
    MousePosition drawing;
  };
  std::optional<PlacedPointer> placed_;
  MenuHandler menuHandler_;
  int boxDepth_ = 0;
  QPointer<QMessageBox> box_;
  PrinterJob printer_;
  std::unique_ptr<QObject> keyWatcher_;
  QPointer<MainWindow> watched_;
  std::deque<std::pair<PointKey, std::string>> pointKeys_;  // with its entry in the key queue
  std::vector<std::vector<std::string>> tableCells_;
};

}  // namespace lab
