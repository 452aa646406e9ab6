// The title screen: two blue panels with the program's title and the author credit.
#include "shell/title_screen.h"

#include <string>

#include "display/colours.h"
#include "display/screen_layout.h"
#include "platform/platform.h"
#include "shell/credits.h"
#include "shell/shell_state.h"
#include "tools/wait_prompt.h"

namespace lab {

namespace {

void drawGridText(Platform& platform, const ScreenLayout& layout, int x, int y,
                  const std::string& text) {
  platform.draw_text(ScaleX(layout, x), ScaleY(layout, y), text);
}

void panelBox(Platform& platform, const ScreenLayout& l, int left, bool fill) {
  const double x1 = ScaleX(l, left);
  const double y1 = ScaleY(l, 4);
  const double x2 = ScaleX(l, left + 154);
  const double y2 = ScaleY(l, 196);
  if (fill) {
    platform.fill_box(x1, y1, x2, y2);
  } else {
    platform.draw_box(x1, y1, x2, y2);
  }
}

constexpr int LeftPanel = 4;
constexpr int RightPanel = 164;

}  // namespace

void TitleScreen(Platform& platform, const ScreenLayout& layout, const ToolsState& tools,
                 const ShellVariant& variant) {
  // Font sizes follow the width of the display and are deliberately not rounded.
  const double width = layout.ScreenWidth;

  platform.set_colour(ColourBlue);
  platform.set_back_colour(ColourWhite);
  platform.activate_window(0);
  platform.set_font_name("times");
  platform.set_font_size(30 * width / 800);
  platform.set_text_transparent(true);
  panelBox(platform, layout, LeftPanel, true);
  panelBox(platform, layout, RightPanel, true);

  // The pictures are opened by bare file name later, so their folder becomes the current one.
  const std::string folder = platform.picture_folder();
  if (!platform.set_current_folder(folder)) {
    platform.fail("Der Ordner " + folder + " kann nicht geöffnet werden.");
  }

  platform.set_colour(ColourWhite);
  panelBox(platform, layout, LeftPanel, false);
  drawGridText(platform, layout, 38, 30, "Ein- und Aus-");
  drawGridText(platform, layout, 34, 75, "schaltvorgänge");
  drawGridText(platform, layout, variant.titleThirdLineX, 120, variant.titleThirdLine);

  platform.set_font_size(12 * width / 800);
  drawGridText(platform, layout, 80, 160, CreditAuthorLine);

  platform.set_font_size(20 * width / 800);
  panelBox(platform, layout, RightPanel, false);
  drawGridText(platform, layout, 210, 40, "Programmautor: ");
  drawGridText(platform, layout, 214, 70, std::string(" ") + CreditAuthorName);
  drawGridText(platform, layout, 175, 90, CreditSchool);
  drawGridText(platform, layout, 210, 110, CreditStreet);
  drawGridText(platform, layout, 207, 130, CreditPostcodeTown);

  const std::string description = "Titelbild: Ein- und Ausschaltvorgänge " +
                                  variant.titleThirdLine + ". " + CreditAuthorLine +
                                  ". Programmautor: " + CreditAuthorName + ", " + CreditSchool +
                                  ", " + CreditStreet + ", " + CreditPostcodeTown + ".";
  platform.describe_drawing(description);
  WaitPrompt(platform, layout, tools, 22, description);
  platform.describe_drawing("");
  platform.clear_window();
  platform.set_text_transparent(false);
}

}  // namespace lab
