// The browser platform's modal message boxes, kept by the page; the program waits here until
// its box is closed.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

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

}  // namespace lab
