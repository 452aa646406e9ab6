// The browser platform's line input: the page's edit field at the text position of the output
// window, in its font and colours, read until Return.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

LineResult WebPlatform::read_line() {
  if (!main_window_exists()) return {LineStatus::WindowClosed, ""};
  const int window = output_;
  const int opened = openCount_[window];
  if (lab_begin_line() == 0) return {LineStatus::Interrupted, ""};
  while (true) {
    if (!main_window_exists()) {
      lab_end_line();
      return {LineStatus::WindowClosed, ""};
    }
    const int state = lab_line_state();
    if (state < 0 || openCount_[window] != opened) {
      lab_end_line();
      return {LineStatus::Interrupted, ""};
    }
    if (state > 0) {
      LineResult result{LineStatus::Entered, PageText(lab_line_text())};
      lab_end_line();
      return result;
    }
    // Back from a nested command, the field takes the keys again and drops what a nested key
    // wait left unread.
    lab_resume_line();
    wait_for_event();
  }
}

}  // namespace lab
