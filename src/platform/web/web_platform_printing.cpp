// The browser platform's printer: the page collects the job's lines and opens the browser's
// print dialog on them.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

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
