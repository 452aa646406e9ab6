// Mouse measuring: the value at the pointer's height, written into a field of its panel.
#include "tools/mouse_measure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "display/colours.h"
#include "display/rounding.h"
#include "display/screen_layout.h"
#include "model/number_text.h"
#include "platform/platform.h"
#include "tools/spoken.h"

namespace lab {

namespace {

enum class Panel { None, Voltage, Current };

inline constexpr int BothButtons = LeftButton | RightButton;
inline constexpr int TimeAxisPixels = 10;  // x of time 0: left of it there is no curve to read

double readoutFontSize(const ScreenLayout& layout) {
  return 20.0 * layout.ScreenWidth / 800;
}

// Foreground, background and font of the readouts, in the main window.
void useReadoutPen(Platform& platform, const ScreenLayout& layout) {
  platform.set_output_window(0);
  platform.set_colour(ColourWhite);
  platform.set_back_colour(ColourBlue);
  platform.set_font_size(readoutFontSize(layout));
}

std::string readingText(int d, int screenHeight) {
  // tenths / 10.0 is the double nearest the decimal, so the text has at most one decimal
  return plainNumberText(readingTenths(d, screenHeight) / 10.0);
}

// A readout field and how far the characters of its last text reach (its trailing blanks not
// counted): what a shorter text that follows must cover.
struct ReadoutField {
  int x = 0;
  int y = 0;
  double inkWidth = 0.0;
};

// Writes a text into its field, white on blue. The trailing blanks of the texts are meant to cover
// what a longer earlier text left there, but in a proportional font they may be narrower than a
// minus sign and a digit: whatever the earlier text reached beyond the new one is filled blue.
void writeField(Platform& platform, ReadoutField& field, const std::string& text) {
  platform.draw_text(field.x, field.y, text);
  const double width = platform.text_width(text);
  if (field.inkWidth > width) {
    // from the pixel the new text ends in to one past the old ink, which may touch a pixel more
    platform.set_colour(ColourBlue);
    platform.fill_box(std::floor(field.x + width), field.y, field.x + field.inkWidth + 1,
                      field.y + platform.line_height() - 1);
    platform.set_colour(ColourWhite);
  }
  const std::size_t last = text.find_last_not_of(' ');
  field.inkWidth = last == std::string::npos ? 0.0 : platform.text_width(text.substr(0, last + 1));
}

bool onGraph(const ScreenLayout& layout, MousePosition p) {
  return p.x > TimeAxisPixels && p.x < ScaleX(layout, 152) && p.y >= layout.VoltagePanelTop &&
         p.y <= layout.CurrentPanelBottom && p.y != layout.CurrentPanelTop;
}

// Where the keys take over when the pointer is not on the graph: time 0 on the voltage's zero.
MousePosition keyStart(const ScreenLayout& layout) {
  return {TimeAxisPixels + 1, layout.VoltageZeroY};
}

// A key's move, kept on the graph; the line between the panels, which reads nothing, is passed.
MousePosition movedPoint(const ScreenLayout& layout, MousePosition p, PointKey key) {
  p.x = std::clamp(p.x + key.dx, TimeAxisPixels + 1, ScaleX(layout, 152) - 1);
  const int top = layout.VoltagePanelTop;
  const int bottom = std::max(top, static_cast<int>(layout.CurrentPanelBottom));
  p.y = std::clamp(p.y + key.dy, top, bottom);
  if (p.y == layout.CurrentPanelTop) p.y += key.dy < 0 ? -1 : 1;
  return p;
}

// The time under a pixel column: the inverse of PlotX.
double timeAt(const ScreenLayout& layout, int x) {
  return layout.XFactor > 0 ? (x - TimeAxisPixels) / (10 * layout.XFactor) : 0.0;
}

}  // namespace

int readingTenths(int d, int screenHeight) {
  if (screenHeight <= 0) return 0;  // no display height, no scale to read against
  const std::int64_t n = toInt32(10.0 * d / 3);
  const std::int64_t tenths = 200 * n / screenHeight;  // integer division truncates toward zero
  return static_cast<int>(std::clamp<std::int64_t>(tenths, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

void MouseMeasure(Platform& platform, const ScreenLayout& layout, const ToolsState& tools,
                  CircuitVariant kind, const MessageHandler& showMessage) {
  if (kind == CircuitVariant::Coil) {
    // The coil program starts with one more call of two zero arguments; homing the text
    // position is a harmless one that nothing after it depends on.
    platform.set_text_position(0, 0);
  }
  platform.set_font_size(readoutFontSize(layout));
  showMessage("Unbedingt mit Maustaste 3 beenden !");

  Panel lastPanel = Panel::None;
  platform.set_colour(ColourWhite);
  platform.set_back_colour(ColourBlue);
  const int fieldX = ScaleX(layout, 70);
  ReadoutField upperField{fieldX, layout.VoltageZeroY + ScaleY(layout, 30)};
  ReadoutField lowerField{fieldX, layout.CurrentZeroY + ScaleY(layout, 30)};
  writeField(platform, upperField, "                 ");
  writeField(platform, lowerField, "                 ");

  // After a command chosen inside the loop, its buttons may still be held (a nested measuring
  // ends on both): only a press after they were released ends this one, as in the prompt.
  bool released = true;
  int choicesSeen = tools.MenuChoiceCount;
  bool waited = false;
  // The point read is the pointer's until a key moves it, and again once the pointer moves.
  // Keys pressed before measuring began are not meant for it.
  while (platform.read_point_key().any()) {
  }
  MousePosition lastMouse = platform.mouse_position();
  MousePosition point = lastMouse;
  bool byKey = false;
  std::string lastSpoken;
  while (platform.main_window_exists()) {
    const MousePosition mouse = platform.mouse_position();
    if (mouse.x != lastMouse.x || mouse.y != lastMouse.y) {
      lastMouse = mouse;
      point = mouse;
      if (byKey) platform.show_point(std::nullopt);  // the pointer shows the point again
      byKey = false;
    }
    bool escape = false;
    bool moved = false;
    for (PointKey key = platform.read_point_key(); key.any(); key = platform.read_point_key()) {
      if (key.escape) {
        escape = true;
        break;
      }
      if (!byKey && !onGraph(layout, point)) point = keyStart(layout);
      byKey = true;
      moved = true;
      point = movedPoint(layout, point, key);
    }
    if (escape) break;
    if (moved) platform.show_point(point);
    if (point.x < ScaleX(layout, 152)) {
      platform.set_cursor(CursorShape::CrossHair);
      const bool upper = point.y < layout.CurrentPanelTop;
      const bool lower = point.y > layout.CurrentPanelTop;
      if (point.x > TimeAxisPixels && (upper || lower)) {
        // a menu command run inside the last wait may have changed window, colours or font
        if (waited) useReadoutPen(platform, layout);
        waited = false;
        const int zeroY = upper ? layout.VoltageZeroY : layout.CurrentZeroY;
        if (upper) {
          if (lastPanel != Panel::Voltage) {
            lastPanel = Panel::Voltage;
            writeField(platform, lowerField, "               ");
          }
          writeField(platform, upperField,
                     readingText(zeroY - point.y, layout.ScreenHeight) + " V   ");
        } else {
          if (lastPanel != Panel::Current) {
            lastPanel = Panel::Current;
            writeField(platform, upperField, "               ");
          }
          writeField(platform, lowerField,
                     readingText(zeroY - point.y, layout.ScreenHeight) + " µA   ");
        }
        // spoken once per new reading, with its panel and the time under the point
        const std::string spoken = readingSpoken(
            upper, readingTenths(zeroY - point.y, layout.ScreenHeight), timeAt(layout, point.x));
        if (spoken != lastSpoken) platform.announce(spoken);
        lastSpoken = spoken;
      }
    } else {
      platform.set_cursor(CursorShape::Arrow);
    }
    if (tools.MenuChoiceCount != choicesSeen) {
      choicesSeen = tools.MenuChoiceCount;
      released = false;
    }
    const int buttons = platform.mouse_buttons();
    if (buttons == 0) {
      released = true;
    } else if (buttons == BothButtons && released) {
      break;
    }
    platform.wait_for_event();
    waited = true;
  }

  if (byKey) platform.show_point(std::nullopt);
  platform.set_cursor(CursorShape::Arrow);
  platform.set_font_size(12.0 * layout.ScreenWidth / 800);
}

}  // namespace lab
