// The Qt platform's keys: the key characters the main window queued, read one at a time.
#include <QApplication>

#include "platform/qt/line_input.h"
#include "platform/qt/qt_platform.h"

namespace lab {

std::string QtPlatform::read_key() {
  QCoreApplication::processEvents();
  if (!main_) return "";
  // A key wait nested inside a line input needs the keys the edit field would otherwise take.
  if (main_window_exists() && dynamic_cast<LineInput*>(QApplication::focusWidget())) {
    main_->setFocus();
  }
  if (main_->keys.empty()) return "";
  std::string key = std::move(main_->keys.front());
  main_->keys.pop_front();
  return key;
}

}  // namespace lab
