// Mouse measuring: readout fields, panel switching, blanking, cursor shapes and the way out.
#include "tools/mouse_measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "shell/menu.h"
#include "shell/messages.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

const std::string Blanks15(15, ' ');
const std::string Blanks17(17, ' ');

struct MeasureRun {
  MeasureRun(const VariantData& variant, int width = 800, int height = 600)
      : platform(width, height), ctx(platform, variant) {
    platform.open_main_window();
    setScreenMetrics(ctx.layout, width, height);
    computeAnchors(ctx.layout);
    platform.takeCalls();
  }
  std::vector<std::string> texts() const { return platform.callsStartingWith("draw_text "); }
  test::RecordingPlatform platform;
  LabContext ctx;
};

// At 800 x 600 the fields lie at (175, 231) and (175, 512).
std::string upper(const std::string& text) {
  return "draw_text 175 231 " + text;
}
std::string lower(const std::string& text) {
  return "draw_text 175 512 " + text;
}

TEST(MouseMeasure, StartsWithTheWarningBoxAndBlankFieldsInWhiteOnBlue) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    MeasureRun run(*variant);
    run.platform.mouse(0, 0, 3);
    MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
                 messageShower(run.ctx.platform, run.ctx));
    EXPECT_EQ(run.platform.messageBoxes,
              std::vector<std::string>{"Unbedingt mit Maustaste 3 beenden !"});
    EXPECT_EQ(run.texts(), (std::vector<std::string>{upper(Blanks17), lower(Blanks17)}));
    const std::vector<std::string> expectedStart = {
        "set_font_size 20",       "message_box Unbedingt mit Maustaste 3 beenden !",
        "set_colour 255 255 255", "set_back_colour 0 0 255",
        upper(Blanks17),          lower(Blanks17)};
    std::vector<std::string> calls = run.platform.takeCalls();
    // only the coil program homes the text position first
    if (variant == &coilVariant()) {
      ASSERT_FALSE(calls.empty());
      EXPECT_EQ(calls.front(), "set_text_position 0 0");
      calls.erase(calls.begin());
    } else {
      EXPECT_TRUE(run.platform.callsStartingWith("set_text_position").empty());
    }
    ASSERT_GE(calls.size(), expectedStart.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 6), expectedStart);
    // the way out: arrow cursor, font size of the graph text
    EXPECT_EQ(calls[calls.size() - 2], "set_cursor arrow");
    EXPECT_EQ(calls.back(), "set_font_size 12");
  }
}

TEST(MouseMeasure, ReadsVoltageAndCurrentAtThePointersHeight) {
  MeasureRun run(coilVariant());
  run.platform
      .mouse(100, 141 - 30, 0)  // 30 above VoltageZeroY
      .mouse(100, 141, 0)       // on the zero line
      .mouse(100, 422 + 30, 0)  // 30 below CurrentZeroY
      .mouse(100, 422 - 1, 0)   // one pixel: n = 3, 600/600
      .mouse(100, 0, 3);        // above the panel: still the upper panel, d 141 reads 15.6
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  EXPECT_EQ(run.texts(), (std::vector<std::string>{
                             upper(Blanks17), lower(Blanks17), lower(Blanks15), upper("3.3 V   "),
                             upper("0 V   "), upper(Blanks15), lower("-3.3 µA   "),
                             lower("0.1 µA   "), lower(Blanks15), upper("15.6 V   ")}));
}

TEST(MouseMeasure, AShorterReadingCoversWhatALongerOneLeftBeyondItsBlanks) {
  MeasureRun run(coilVariant());
  // d = -120: n = -400, 200 * -400 / 600 = -133.3 -> -13.3; then the zero line, then again
  run.platform.mouse(100, 141 + 120, 0).mouse(100, 141, 0).mouse(100, 141, 3);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  const std::vector<std::string> calls = run.platform.takeCalls();
  const auto shorter = std::find(calls.begin(), calls.end(), upper("0 V   "));
  ASSERT_NE(shorter, calls.end());
  ASSERT_LT(shorter + 3, calls.end());
  // The stand-in font is 10 pixels a character at size 20: "0 V   " ends at 175 + 60, the ink
  // of "-13.3 V" at 175 + 70; the line is 24 pixels high.
  EXPECT_EQ(std::vector<std::string>(shorter + 1, shorter + 4),
            (std::vector<std::string>{"set_colour 0 0 255", "fill_box 235 231 246 254",
                                      "set_colour 255 255 255"}));
  // the second "0 V" covers the first's ink with its blanks: nothing to fill
  EXPECT_EQ(run.platform.callsStartingWith("fill_box").size(), 1u);
  EXPECT_EQ(run.texts(),
            (std::vector<std::string>{upper(Blanks17), lower(Blanks17), lower(Blanks15),
                                      upper("-13.3 V   "), upper("0 V   "), upper("0 V   ")}));
}

TEST(MouseMeasure, WritesNothingLeftOfTheTimeAxisOrRightOfTheGraph) {
  MeasureRun run(capacitorVariant());
  // ScaleX(152) at 800 is 380; x 10 is the time axis; y 285 is CurrentPanelTop
  run.platform.mouse(10, 100, 0)
      .mouse(380, 100, 0)
      .mouse(500, 450, 0)
      .mouse(200, 285, 0)
      .mouse(379, 300, 0)
      .mouse(11, 100, 3);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  const std::vector<std::string> cursors = run.platform.callsStartingWith("set_cursor");
  EXPECT_EQ(cursors, (std::vector<std::string>{"set_cursor cross",     // start, x 0
                                               "set_cursor cross",     // x 10
                                               "set_cursor arrow",     // x 380
                                               "set_cursor arrow",     // x 500
                                               "set_cursor cross",     // y on the border
                                               "set_cursor cross",     // x 379, lower panel
                                               "set_cursor cross",     // x 11
                                               "set_cursor arrow"}));  // leaving
  // d = 422 - 300 = 122: n = round(406.67) = 407, 200 * 407 / 600 = 135.67 -> 13.5
  // d = 141 - 100 = 41: n = round(136.67) = 137, 200 * 137 / 600 = 45.67 -> 4.5
  EXPECT_EQ(run.texts(),
            (std::vector<std::string>{upper(Blanks17), lower(Blanks17), upper(Blanks15),
                                      lower("13.5 µA   "), lower(Blanks15), upper("4.5 V   ")}));
}

TEST(MouseMeasure, SingleButtonsContinueAndBothButtonsEnd) {
  MeasureRun run(coilVariant());
  run.platform.mouse(100, 111, LeftButton)
      .mouse(100, 111, RightButton)
      .mouse(100, 111, 0)
      .mouse(100, 111, LeftButton | RightButton)
      .mouse(100, 120, 0);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
  EXPECT_FALSE(run.platform.scriptExhausted());
}

TEST(MouseMeasure, ClosingTheMainWindowEndsIt) {
  MeasureRun run(capacitorVariant());
  run.platform.mouse(100, 111, LeftButton).closeMainWindow().mouse(100, 120, 0);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
  EXPECT_EQ(run.platform.calls.back(), "set_font_size 12");
}

TEST(MouseMeasure, ClosingDuringTheWarningBoxEndsWithoutReading) {
  MeasureRun run(coilVariant());
  run.platform.closeMainWindow().mouse(100, 111, 0);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
  EXPECT_EQ(run.texts(), (std::vector<std::string>{upper(Blanks17), lower(Blanks17)}));
}

TEST(MouseMeasure, AMenuCommandInsideTheLoopLeavesTheReadoutsWhiteOnBlue) {
  MeasureRun run(capacitorVariant());
  // a command that leaves another window, colour and font behind
  run.platform.install_menu({}, [&](int) {
    run.platform.set_output_window(2);
    run.platform.set_colour({0, 0, 0});
    run.platform.set_font_size(7);
  });
  run.platform.mouse(100, 111, 0).menu(8).mouse(100, 111, 3);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  const std::vector<std::string> calls = run.platform.takeCalls();
  const auto menu = std::find(calls.begin(), calls.end(), "menu 8");
  ASSERT_NE(menu, calls.end());
  const auto reading = std::find(menu, calls.end(), upper("3.3 V   "));
  ASSERT_NE(reading, calls.end());
  const std::vector<std::string> between(menu + 4, reading);
  EXPECT_NE(std::find(between.begin(), between.end(), "set_output_window 0"), between.end());
  EXPECT_NE(std::find(between.begin(), between.end(), "set_colour 255 255 255"), between.end());
  EXPECT_NE(std::find(between.begin(), between.end(), "set_back_colour 0 0 255"), between.end());
  EXPECT_NE(std::find(between.begin(), between.end(), "set_font_size 20"), between.end());
  EXPECT_EQ(run.platform.outputWindow(), 0);
}

TEST(MouseMeasure, BothButtonsEndingANestedMeasuringLeaveTheOuterOneMeasuring) {
  MeasureRun run(coilVariant());
  BuildMenu(run.ctx);
  run.platform.mouse(100, 111, 0)
      .menu(29)            // "&Mausmessen" inside mouse measuring
      .mouse(100, 111, 3)  // ends the inner one
      .mouse(100, 120, 3)  // still held: d = 21, n = 70, 14000 / 600 -> 2.3
      .mouse(100, 130, 0)  // released: d = 11, n = 37, 7400 / 600 -> 1.2
      .mouse(100, 130, 3)  // a fresh press ends the outer one
      .mouse(100, 100, 0);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
  EXPECT_EQ(run.platform.messageBoxes.size(), 2u);
  const std::vector<std::string> texts = run.texts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
            (std::vector<std::string>{upper("2.3 V   "), upper("1.2 V   "), upper("1.2 V   ")}));
}

TEST(MouseMeasure, FieldsAndFontFollowTheScreenSize) {
  MeasureRun run(coilVariant(), 1024, 768);
  // 1024 x 768: VoltageZeroY 180, CurrentZeroY 539, ScaleX(70) 224, ScaleY(30) 115
  run.platform.mouse(300, 180 - 30, 0).mouse(300, 539 + 30, 3);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  const auto sizes = run.platform.callsStartingWith("set_font_size");
  ASSERT_GE(sizes.size(), 2u);
  for (std::size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], "set_font_size 25.6");
  EXPECT_EQ(sizes.back(), "set_font_size 15.36");
  // 30 pixels at 768: n = 100, 20000 / 768 = 26.04 -> 2.6
  EXPECT_EQ(run.texts(), (std::vector<std::string>{
                             "draw_text 224 295 " + Blanks17, "draw_text 224 654 " + Blanks17,
                             "draw_text 224 654 " + Blanks15, "draw_text 224 295 2.6 V   ",
                             "draw_text 224 295 " + Blanks15, "draw_text 224 654 -2.6 µA   "}));
}

TEST(MouseMeasure, ArrowKeysMoveThePointAndEscapeEndsIt) {
  MeasureRun run(coilVariant());
  // The pointer is off the graph: the keys start at time 0 on the voltage's zero line (11, 141).
  // Shift+Up three times: d 10, 20, 30 -> n 33, 67, 100 -> tenths 11, 22, 33; then one right.
  run.platform.pointKey(0, -10).pointKey(0, -10).pointKey(0, -10).pointKey(1, 0);
  run.platform.escapeKey().mouse(100, 141, 0);
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  EXPECT_EQ(run.platform.eventsLeft(), 1u);  // Escape ended it, not the end of the script
  EXPECT_EQ(run.texts(), (std::vector<std::string>{
                             upper(Blanks17), lower(Blanks17), lower(Blanks15), upper("1.1 V   "),
                             upper("2.2 V   "), upper("3.3 V   "), upper("3.3 V   ")}));
  // x 11 and 12 are 1 and 2 pixels right of time 0, at 25 pixels a second
  EXPECT_EQ(run.platform.spoken,
            (std::vector<std::string>{"Spannung 1,1 V bei 0,04 s", "Spannung 2,2 V bei 0,04 s",
                                      "Spannung 3,3 V bei 0,04 s", "Spannung 3,3 V bei 0,08 s"}));
  // shown where each key put it, and taken away when measuring ends
  EXPECT_EQ(run.platform.shownPoints,
            (std::vector<std::string>{"11 131", "11 121", "11 111", "12 111", "none"}));
}

TEST(MouseMeasure, AKeyGoesOnFromThePointerAndPassesTheLineBetweenThePanels) {
  MeasureRun run(coilVariant());
  // From the pointer at (100, 284), one down lands on CurrentPanelTop 285, which reads
  // nothing: the point goes on to 286, d = 422 - 286 = 136 -> n 453 -> tenths 151.
  run.platform.mouse(100, 284, 0).pointKey(0, 1).escapeKey();
  MouseMeasure(run.ctx.platform, run.ctx.layout, run.ctx, run.ctx.variant.kind,
               messageShower(run.ctx.platform, run.ctx));
  const std::vector<std::string> texts = run.texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), lower("15.1 µA   "));
  ASSERT_FALSE(run.platform.spoken.empty());
  EXPECT_EQ(run.platform.spoken.back(), "Strom 15,1 µA bei 3,60 s");
}

}  // namespace
}  // namespace lab
