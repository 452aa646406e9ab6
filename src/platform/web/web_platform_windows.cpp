// The browser platform's windows and stage: window 0 under the page's menu bar and the frames of
// windows 2 and 3, the waits for the page's next event, and the end of the program.
#include "platform/web/web_platform.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/high_contrast.h"
#include "platform/platform_texts.h"
#include "platform/web/page_bridge.h"

namespace lab {

namespace {

std::string cssColour(Colour colour) {
  return "rgb(" + std::to_string(std::clamp(colour.red, 0, 255)) + "," +
         std::to_string(std::clamp(colour.green, 0, 255)) + "," +
         std::to_string(std::clamp(colour.blue, 0, 255)) + ")";
}

}  // namespace

WebPlatform::WebPlatform(std::string programName)
    : programName_(std::move(programName)), highContrast_(lab_high_contrast() != 0) {}

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

bool WebPlatform::set_window_background(int number, Colour colour) {
  const Colour shown = highContrast_ ? highContrastGround(colour) : colour;
  return lab_set_background(number, cssColour(shown).c_str()) != 0;
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

void WebPlatform::process_events() {
  runQueuedMenuChoices();
}

void WebPlatform::wait_for_event() {
  if (!main_window_exists()) return;
  lab_wait_event();
  runQueuedMenuChoices();
}

void WebPlatform::yield_once() {
  runQueuedMenuChoices();
}

void WebPlatform::end_of_run() {
  if (!ended_) lab_end_program("");
  ended_ = true;
}

void WebPlatform::fail(const std::string& what) {
  const std::string report = runTimeErrorText(what);
  showBox(report, BoxKind::Critical, true);
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

}  // namespace lab
