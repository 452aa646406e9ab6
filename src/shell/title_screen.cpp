// The title screen: two blue panels with the program's title and the author credit.
#include "shell/title_screen.h"

#include <string>

#include "display/colours.h"
#include "display/screen_layout.h"
#include "lab_context.h"
#include "shell/credits.h"
#include "shell/wait_prompt.h"

namespace lab {

namespace {

void drawGridText(LabContext& ctx, int x, int y, const std::string& text) {
  ctx.platform.draw_text(ScaleX(ctx.layout, x), ScaleY(ctx.layout, y), text);
}

void panelBox(LabContext& ctx, int left, bool fill) {
  const ScreenLayout& l = ctx.layout;
  const double x1 = ScaleX(l, left);
  const double y1 = ScaleY(l, 4);
  const double x2 = ScaleX(l, left + 154);
  const double y2 = ScaleY(l, 196);
  if (fill) {
    ctx.platform.fill_box(x1, y1, x2, y2);
  } else {
    ctx.platform.draw_box(x1, y1, x2, y2);
  }
}

constexpr int LeftPanel = 4;
constexpr int RightPanel = 164;

}  // namespace

void TitleScreen(LabContext& ctx) {
  Platform& platform = ctx.platform;
  // Font sizes follow the width of the display and are deliberately not rounded.
  const double width = ctx.layout.ScreenWidth;

  platform.set_colour(ColourBlue);
  platform.set_back_colour(ColourWhite);
  platform.activate_window(0);
  platform.set_font_name("times");
  platform.set_font_size(30 * width / 800);
  platform.set_text_transparent(true);
  panelBox(ctx, LeftPanel, true);
  panelBox(ctx, RightPanel, true);

  // The pictures are opened by bare file name later, so their folder becomes the current one.
  const std::string folder = platform.picture_folder();
  if (!platform.set_current_folder(folder)) {
    platform.fail("Der Ordner " + folder + " kann nicht geöffnet werden.");
  }

  platform.set_colour(ColourWhite);
  panelBox(ctx, LeftPanel, false);
  drawGridText(ctx, 38, 30, "Ein- und Aus-");
  drawGridText(ctx, 34, 75, "schaltvorgänge");
  drawGridText(ctx, ctx.variant.titleThirdLineX, 120, ctx.variant.titleThirdLine);

  platform.set_font_size(12 * width / 800);
  drawGridText(ctx, 80, 160, CreditAuthorLine);

  platform.set_font_size(20 * width / 800);
  panelBox(ctx, RightPanel, false);
  drawGridText(ctx, 210, 40, "Programmautor: ");
  drawGridText(ctx, 214, 70, std::string(" ") + CreditAuthorName);
  drawGridText(ctx, 175, 90, CreditSchool);
  drawGridText(ctx, 210, 110, CreditStreet);
  drawGridText(ctx, 207, 130, CreditPostcodeTown);

  WaitPrompt(ctx, 22);
  platform.clear_window();
  platform.set_text_transparent(false);
}

}  // namespace lab
