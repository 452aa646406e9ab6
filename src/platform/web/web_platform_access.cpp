// The browser platform for those who do not see the drawing or use no mouse: spoken texts, the
// drawing's description and the table of values go to the page's accessible elements; the arrow
// keys and Escape of measuring come from the page's keys.
#include "platform/table_text.h"
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

namespace {

// The page hands a point key over as one number: 0 none, 1 Escape, else the move (each of dx and
// dy within -16 to 15) as 2 + (dx + 16) * 32 + (dy + 16).
PointKey decodedPointKey(int code) {
  PointKey key;
  if (code == 1) key.escape = true;
  if (code >= 2) {
    key.dx = (code - 2) / 32 - 16;
    key.dy = (code - 2) % 32 - 16;
  }
  return key;
}

}  // namespace

PointKey WebPlatform::read_point_key() {
  return decodedPointKey(lab_read_point_key());
}

void WebPlatform::announce(const std::string& text) {
  lab_announce(text.c_str());
}

void WebPlatform::describe_drawing(const std::string& text) {
  lab_describe_drawing(text.c_str());
}

// Tab-separated rows: the form the page builds its table from and copies.
void WebPlatform::show_table_cells(const std::vector<std::vector<std::string>>& rows) {
  lab_show_table(tabSeparated(rows).c_str());
}

}  // namespace lab
