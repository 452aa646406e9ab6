// The browser platform's pointer: the position and buttons the page recorded, and the cursor
// shape over the drawing.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

MousePosition WebPlatform::mouse_position() {
  return {lab_mouse_x(), lab_mouse_y()};
}

int WebPlatform::mouse_buttons() {
  return lab_mouse_buttons();
}

void WebPlatform::set_cursor(CursorShape shape) {
  lab_set_cursor(shape == CursorShape::CrossHair ? 1 : 0);
}

void WebPlatform::show_point(std::optional<MousePosition> point) {
  lab_show_point(point ? 1 : 0, point ? point->x : 0, point ? point->y : 0);
}

}  // namespace lab
