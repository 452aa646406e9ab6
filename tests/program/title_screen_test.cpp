// The title screen of both programs: its exact drawing, the prompt and what ends it.
#include "shell/title_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

// A platform whose program folder cannot be made the current one.
class FolderRefusingPlatform : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  bool set_current_folder(const std::string& folder) override {
    RecordingPlatform::set_current_folder(folder);
    return false;
  }
};

void prepare(test::RecordingPlatform& platform, LabContext& ctx, int width, int height) {
  platform.open_main_window();
  setScreenMetrics(ctx.layout, width, height);
  computeAnchors(ctx.layout);
  platform.takeCalls();
}

// The whole screen at 1024 x 768: grid x * 3.2 and grid y * 3.84, truncated.
std::vector<std::string> expectedAt1024(const std::string& thirdLine) {
  return {
      "set_colour 0 0 255",
      "set_back_colour 255 255 255",
      "activate_window 0",
      "set_font_name times",
      "set_font_size 38.4",
      "set_text_transparent on",
      "fill_box 12 15 505 752",
      "fill_box 524 15 1017 752",
      "set_current_folder /pictures",
      "set_colour 255 255 255",
      "draw_box 12 15 505 752",
      "draw_text 121 115 Ein- und Aus-",
      "draw_text 108 288 schaltvorgänge",
      thirdLine,
      "set_font_size 15.36",
      "draw_text 256 614 Dr. A. Beispiel  1995 - 2026",
      "set_font_size 25.6",
      "draw_box 524 15 1017 752",
      "draw_text 672 153 Programmautor: ",
      "draw_text 684 268  Dr. A. Beispiel",
      "draw_text 560 345 Physik-Lernwerkstatt",
      "draw_text 672 422 Lehrmittelweg 1",
      "draw_text 662 499 12345 Musterstadt",
      "set_text_position 19 84",
      "print_text 0 Weiter ?   <RETURN>",
      "clear_window 0",
      "set_text_transparent off",
  };
}

TEST(TitleScreen, CoilScreenAt1024x768) {
  test::RecordingPlatform platform(1024, 768);
  LabContext ctx(platform, coilVariant());
  prepare(platform, ctx, 1024, 768);
  platform.key(" ");
  TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant);
  EXPECT_EQ(platform.takeCalls(), expectedAt1024("draw_text 121 460 bei der Spule"));
}

TEST(TitleScreen, CapacitorScreenAt1024x768HasItsThirdLine19PixelsFurtherLeft) {
  test::RecordingPlatform platform(1024, 768);
  LabContext ctx(platform, capacitorVariant());
  prepare(platform, ctx, 1024, 768);
  platform.key(" ");
  TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant);
  EXPECT_EQ(platform.takeCalls(), expectedAt1024("draw_text 102 460 am Kondensator"));
}

TEST(TitleScreen, FontSizesFollowTheWidthUnrounded) {
  struct Case {
    int width;
    int height;
    std::vector<std::string> sizes;
  };
  const std::vector<Case> cases = {
      {800, 600, {"set_font_size 30", "set_font_size 12", "set_font_size 20"}},
      {1024, 768, {"set_font_size 38.4", "set_font_size 15.36", "set_font_size 25.6"}},
      {640, 480, {"set_font_size 24", "set_font_size 9.6", "set_font_size 16"}},
      {1366, 768, {"set_font_size 51.225", "set_font_size 20.49", "set_font_size 34.15"}},
  };
  for (const Case& c : cases) {
    test::RecordingPlatform platform(c.width, c.height);
    LabContext ctx(platform, coilVariant());
    prepare(platform, ctx, c.width, c.height);
    platform.key(" ");
    TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant);
    EXPECT_EQ(platform.callsStartingWith("set_font_size"), c.sizes) << c.width;
  }
}

TEST(TitleScreen, PanelsAt800x600) {
  test::RecordingPlatform platform(800, 600);
  LabContext ctx(platform, capacitorVariant());
  prepare(platform, ctx, 800, 600);
  platform.key(" ");
  TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant);
  // (4, 4)-(158, 196) and (164, 4)-(318, 196) at 2.5 and 3 pixels a unit.
  const std::vector<std::string> fills = {"fill_box 10 12 395 588", "fill_box 410 12 795 588"};
  const std::vector<std::string> frames = {"draw_box 10 12 395 588", "draw_box 410 12 795 588"};
  EXPECT_EQ(platform.callsStartingWith("fill_box"), fills);
  EXPECT_EQ(platform.callsStartingWith("draw_box"), frames);
  EXPECT_EQ(platform.callsStartingWith("draw_text 80 360 am Kondensator").size(), 1u);
}

TEST(TitleScreen, TheKeyThatEndsItDoesNotReachTheSimulation) {
  test::RecordingPlatform platform(800, 600);
  LabContext ctx(platform, coilVariant());
  prepare(platform, ctx, 800, 600);
  platform.key("1");
  TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant);
  EXPECT_FALSE(platform.scriptExhausted());
  EXPECT_EQ(platform.read_key(), "");
}

TEST(TitleScreen, AMouseClickEndsIt) {
  test::RecordingPlatform platform(800, 600);
  LabContext ctx(platform, coilVariant());
  prepare(platform, ctx, 800, 600);
  platform.mouse(300, 200, LeftButton).key("1");
  TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant);
  EXPECT_EQ(platform.eventsLeft(), 1u);
  EXPECT_EQ(platform.calls.back(), "set_text_transparent off");
}

TEST(TitleScreen, ClosingTheWindowEndsIt) {
  test::RecordingPlatform platform(800, 600);
  LabContext ctx(platform, coilVariant());
  prepare(platform, ctx, 800, 600);
  platform.closeMainWindow();
  TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant);
  EXPECT_FALSE(platform.main_window_exists());
  EXPECT_FALSE(platform.scriptExhausted());
}

TEST(TitleScreen, AFolderThatCannotBeMadeCurrentStopsTheProgram) {
  FolderRefusingPlatform platform(800, 600);
  LabContext ctx(platform, coilVariant());
  prepare(platform, ctx, 800, 600);
  platform.key(" ");
  EXPECT_THROW(TitleScreen(ctx.platform, ctx.layout, ctx, ctx.variant), test::RuntimeStop);
  EXPECT_EQ(platform.callsStartingWith("fail").size(), 1u);
  EXPECT_TRUE(platform.callsStartingWith("draw_box").empty());
  EXPECT_TRUE(platform.callsStartingWith("draw_text").empty());
}

}  // namespace
}  // namespace lab
