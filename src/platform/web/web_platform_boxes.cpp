// The browser platform's modal message boxes, kept by the page; the program waits here until
// its box is closed.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

namespace {

// The page's name of the symbol a box shows.
const char* pageSymbol(BoxKind kind) {
  switch (kind) {
    case BoxKind::Author:
      return "author";
    case BoxKind::Critical:
      return "critical";
    case BoxKind::Information:
      break;
  }
  return "information";
}

}  // namespace

void WebPlatform::showBox(const std::string& text, BoxKind kind, bool evenWithoutMainWindow) {
  if (!evenWithoutMainWindow && !main_window_exists()) return;
  const int depth = lab_show_box(text.c_str(), pageSymbol(kind));
  ++boxDepth_;
  // No menu choice gets through while a box shows; the page drops them.
  while (lab_box_count() >= depth && (evenWithoutMainWindow || main_window_exists())) {
    lab_wait_event();
  }
  --boxDepth_;
}

void WebPlatform::message_box(const std::string& text, BoxSymbol symbol) {
  showBox(text, boxKindOf(symbol), false);
}

}  // namespace lab
