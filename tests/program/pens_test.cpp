// Start-up of the screen metrics and the pen selection against the recording platform.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "display/colours.h"
#include "display/screen_layout.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

std::string colourText(Colour c) {
  return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
}

TEST(Pens, StartUpReadsTheDisplayAndSelectsPenOne) {
  test::RecordingPlatform p(1024, 768);
  LabContext ctx(p, coilVariant());
  initScreenMetrics(ctx.platform, ctx.layout);
  EXPECT_EQ(ctx.layout.ScreenWidth, 1024);
  EXPECT_EQ(ctx.layout.ScreenHeight, 768);
  EXPECT_DOUBLE_EQ(ctx.layout.XFactor, 3.2);
  EXPECT_DOUBLE_EQ(ctx.layout.YFactor, 3.84);
  EXPECT_EQ(p.calls, (std::vector<std::string>{
                         "set_colour " + colourText(paletteColour(1)),
                         "set_back_colour " + colourText(paletteColour(3)),
                     }));
}

TEST(Pens, OtherPensChangeNothing) {
  test::RecordingPlatform p(800, 600);
  LabContext ctx(p, coilVariant());
  for (int n : {0, 2, 3, 15, -1, 1000}) SelectPen(ctx.platform, n);
  EXPECT_TRUE(p.calls.empty());
}

TEST(Pens, PaletteHasSixteenDistinctColours) {
  std::set<std::tuple<int, int, int>> seen;
  for (int i = 0; i < 16; ++i) {
    const Colour c = paletteColour(i);
    for (int part : {c.red, c.green, c.blue}) {
      EXPECT_GE(part, 0);
      EXPECT_LE(part, 255);
    }
    seen.insert({c.red, c.green, c.blue});
  }
  EXPECT_EQ(seen.size(), 16u);
  EXPECT_EQ(paletteColour(0), ColourBlack);
  EXPECT_EQ(paletteColour(15), ColourWhite);
  EXPECT_NE(paletteColour(1), paletteColour(3));
  EXPECT_EQ(paletteColour(16), ColourBlack);
  EXPECT_EQ(paletteColour(-1), ColourBlack);
}

}  // namespace
}  // namespace lab
