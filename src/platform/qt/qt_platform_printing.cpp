// The Qt platform's printer: the lines of a job handed to the print job on the default printer.
#include "platform/qt/qt_platform.h"

namespace lab {

bool QtPlatform::printer_write(const std::string& text, bool line_end) {
  return printer_.write(text, line_end);
}

bool QtPlatform::printer_set_font_size(double size) {
  return printer_.setFontSize(size);
}

bool QtPlatform::printer_end_page() {
  return printer_.endPage();
}

bool QtPlatform::printer_end_job() {
  return printer_.endJob();
}

}  // namespace lab
