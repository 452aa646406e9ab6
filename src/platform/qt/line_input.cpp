// Key handling of the line input's edit field.
#include "platform/qt/line_input.h"

#include <QKeyEvent>

#include "platform/qt/main_window.h"

namespace lab {

void LineInput::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    entered_ = true;
  } else if (isMenuBarKey(*event)) {
    auto* main = qobject_cast<QMainWindow*>(window());
    if (main && !event->isAutoRepeat()) openMenuBarFromKeyboard(*main);
  } else {
    QLineEdit::keyPressEvent(event);
  }
  // Keys the field does not use must not travel on to the main window's key queue.
  event->accept();
}

}  // namespace lab
