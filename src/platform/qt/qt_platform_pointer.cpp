// The Qt platform's pointer: the mouse position and buttons the windows recorded, and the
// cursor shape over the drawing.
#include "platform/qt/qt_platform.h"

namespace lab {

MousePosition QtPlatform::mouse_position() {
  return {mouse_.position.x(), mouse_.position.y()};
}

int QtPlatform::mouse_buttons() {
  return mouse_.buttons.read();
}

void QtPlatform::set_cursor(CursorShape shape) {
  if (root_) root_->setCursor(shape == CursorShape::CrossHair ? Qt::CrossCursor : Qt::ArrowCursor);
}

}  // namespace lab
