// The browser platform's windows, waits, menu bar, message boxes and the end of the program.
#include "platform/web/web_platform.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/web/page_bridge.h"

namespace lab {

WebPlatform::WebPlatform(std::string programName) : programName_(std::move(programName)) {}

void WebPlatform::open_main_window() {
  lab_open_main();
  output_ = 0;
  ++openCount_[0];
}

void WebPlatform::open_window(int number, const WindowGeometry& geometry) {
  if (number == 0) {
    set_output_window(0);
    return;
  }
  lab_open_window(number, geometry.x, geometry.y, geometry.width, geometry.height);
  output_ = number;
  ++openCount_[number];
}

void WebPlatform::close_window(int number) {
  lab_close_window(number);
  ++openCount_[number];
  if (output_ == number) output_ = 0;
}

void WebPlatform::activate_window(int number) {
  lab_activate_window(number);
}

void WebPlatform::set_caption(int number, const std::string& caption) {
  if (number == 0) lab_set_caption(caption.c_str());  // the frames have no caption bar
}

void WebPlatform::set_output_window(int number) {
  output_ = number;
  lab_set_output(number);
}

void WebPlatform::clear_window() {
  lab_clear();
}

bool WebPlatform::main_window_exists() {
  return lab_main_exists() != 0;
}

bool WebPlatform::close_requested() {
  return false;  // closing the tab ends the page, and the program with it
}

void WebPlatform::runMenuChoices() {
  for (int index = lab_take_menu_choice(); index >= 0; index = lab_take_menu_choice()) {
    if (main_window_exists() && boxDepth_ == 0 && menuHandler_) menuHandler_(index);
  }
}

void WebPlatform::process_events() {
  runMenuChoices();
}

void WebPlatform::wait_for_event() {
  if (!main_window_exists()) return;
  lab_wait_event();
  runMenuChoices();
}

void WebPlatform::yield_once() {
  runMenuChoices();
}

void WebPlatform::end_of_run() {
  if (!ended_) lab_end_program("");
  ended_ = true;
}

void WebPlatform::fail(const std::string& what) {
  const std::string report = "Laufzeitfehler: " + what;
  showBox(report, "critical", true);
  lab_end_program(report.c_str());
  ended_ = true;
  std::exit(1);
}

int WebPlatform::display_width() {
  return lab_display_width();
}

int WebPlatform::display_height() {
  return lab_display_height();
}

void WebPlatform::install_menu(const std::vector<std::string>& table, MenuHandler handler) {
  menuHandler_ = std::move(handler);
  std::vector<const char*> entries;
  entries.reserve(table.size());
  for (const std::string& entry : table) entries.push_back(entry.c_str());
  lab_install_menu(entries.data(), static_cast<int>(entries.size()));
}

void WebPlatform::showBox(const std::string& text, const char* symbol, bool evenWithoutMainWindow) {
  if (!evenWithoutMainWindow && !main_window_exists()) return;
  const int depth = lab_show_box(text.c_str(), symbol);
  ++boxDepth_;
  // No menu choice gets through while a box shows; the page drops them.
  while (lab_box_count() >= depth && (evenWithoutMainWindow || main_window_exists())) {
    lab_wait_event();
  }
  --boxDepth_;
}

void WebPlatform::message_box(const std::string& text, BoxSymbol symbol) {
  showBox(text, symbol == BoxSymbol::Author ? "author" : "information", false);
}

bool WebPlatform::printer_write(const std::string& text, bool line_end) {
  lab_printer_write(text.c_str(), line_end ? 1 : 0);
  return true;
}

bool WebPlatform::printer_set_font_size(double size) {
  lab_printer_font_size(size);
  return true;
}

bool WebPlatform::printer_end_page() {
  lab_printer_end_page();
  return true;
}

// The browser's print dialog takes the page over; what happens to the job is its business.
bool WebPlatform::printer_end_job() {
  lab_printer_end_job();
  return true;
}

}  // namespace lab
