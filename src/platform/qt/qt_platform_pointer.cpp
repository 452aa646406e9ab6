// The Qt platform's pointer: the mouse position and buttons the windows recorded, the cursor
// shape over the drawing, and the pointer moved to the measuring point the keys chose.
#include <QCursor>
#include <QRectF>

#include "platform/qt/qt_platform.h"

namespace lab {

MousePosition QtPlatform::mouse_position() {
  if (placed_) {
    if (QCursor::pos() == placed_->global) return placed_->drawing;
    placed_.reset();
  }
  return {mouse_.position.x(), mouse_.position.y()};
}

int QtPlatform::mouse_buttons() {
  return mouse_.buttons.read();
}

void QtPlatform::set_cursor(CursorShape shape) {
  if (root_) root_->setCursor(shape == CursorShape::CrossHair ? Qt::CrossCursor : Qt::ArrowCursor);
}

// The pointer itself shows the point: it goes to the middle of the point's pixel as the drawing
// is shown now, and stays there when the keys are done.
void QtPlatform::show_point(std::optional<MousePosition> point) {
  if (!point || !root_ || !root_->isVisible()) return;
  const QRect pixel = root_->toWidget(QRectF(point->x, point->y, 1, 1));
  const QPoint global = root_->mapToGlobal(pixel.center());
  QCursor::setPos(root_->screen(), global);
  placed_ = PlacedPointer{global, *point};
}

}  // namespace lab
