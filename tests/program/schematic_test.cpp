// The schematic pictures: clearing, the stretched picture, the prompt and the way back.
#include "tools/schematic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

struct PictureRun {
  PictureRun(const VariantData& variant, int width, int height)
      : platform(width, height), ctx(platform, variant) {
    platform.open_main_window();
    setScreenMetrics(ctx.layout, width, height);
    computeAnchors(ctx.layout);
    ctx.layout.SnapshotBottom = static_cast<std::int16_t>(ScaleY(ctx.layout, 199));
    for (int i = 1; i <= 20; ++i) ctx.GraphSnapshot[i] = platform.capture_image(i, 0, 0, 0);
    ctx.params = variant.defaults;
    ctx.sim.t = 2.35;  // in the middle of a sweep
    ctx.curve.SegmentStarted = true;
    platform.availablePictures = {variant.switchOnPicture, variant.switchOffPicture};
    platform.takeCalls();
  }
  test::RecordingPlatform platform;
  LabContext ctx;
};

// Expects the calls to hold the wanted ones in this order (others may lie between them).
void expectInOrder(const std::vector<std::string>& calls, const std::vector<std::string>& wanted) {
  auto at = calls.begin();
  for (const auto& call : wanted) {
    at = std::find(at, calls.end(), call);
    ASSERT_NE(at, calls.end()) << "missing or out of order: " << call;
    ++at;
  }
}

std::string pictureCall(const std::string& name, int x, int y, int w, int h) {
  return "put_picture_stretched " + name + " " + std::to_string(x) + " " + std::to_string(y) + " " +
         std::to_string(w) + " " + std::to_string(h);
}

TEST(ShowSchematic, ShowsThePictureStretchedUntilAKeyThenRestoresTheScreen) {
  // ScaleX(4), ScaleY(4), ScaleX(310), ScaleY(192); the prompt of row 24 at y 24 * YFactor
  const struct {
    int width, height;
    int x, y, w, h, promptY;
    std::string circuitPanel;  // DrawCircuit's filled panel
  } screens[] = {{800, 600, 10, 12, 775, 576, 72, "fill_box 410 6 790 558"},
                 {1024, 768, 12, 15, 992, 737, 92, "fill_box 525 7 1011.2 714"},
                 {640, 480, 8, 9, 620, 460, 58, "fill_box 328 4 632 446"}};
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    for (const std::string& picture : {variant->switchOnPicture, variant->switchOffPicture}) {
      for (const auto& s : screens) {
        SCOPED_TRACE(picture + " " + std::to_string(s.width));
        PictureRun run(*variant, s.width, s.height);
        run.platform.key("x").key("y");
        ShowSchematic(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant.kind,
                      run.ctx.variant, picture);
        const std::vector<std::string> calls = run.platform.calls;
        expectInOrder(calls, {"set_output_window 0", "clear_clip", "clear_window 0",
                              "load_picture " + picture, "set_colour 255 255 255",
                              pictureCall(picture, s.x, s.y, s.w, s.h),
                              "set_text_position 19 " + std::to_string(s.promptY),
                              "print_text 0 Weiter ?   <RETURN>", "clear_window 0", s.circuitPanel,
                              "put_image [1 0 0 0] 0 0"});
        // the clearing comes before the load, and nothing but the prompt is drawn over the picture
        const auto load = std::find(calls.begin(), calls.end(), "load_picture " + picture);
        EXPECT_NE(std::find(calls.begin(), load, "clear_window 0"), load);
        EXPECT_EQ(run.platform.eventsLeft(), 1u);  // one key ended the prompt
        EXPECT_DOUBLE_EQ(run.ctx.sim.t, -run.ctx.params.dt);
        EXPECT_FALSE(run.ctx.curve.SegmentStarted);
      }
    }
  }
}

TEST(ShowSchematic, AMissingPictureStillBringsTheCircuitAndTheGraphBack) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    PictureRun run(*variant, 800, 600);
    run.platform.availablePictures.clear();
    run.platform.key("x");
    ShowSchematic(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant.kind,
                  run.ctx.variant, variant->switchOnPicture);
    const std::vector<std::string> calls = run.platform.calls;
    expectInOrder(calls, {"clear_window 0", "load_picture " + variant->switchOnPicture + " missing",
                          "clear_window 0", "fill_box 410 6 790 558", "put_image [1 0 0 0] 0 0"});
    EXPECT_TRUE(run.platform.callsStartingWith("put_picture_stretched").empty());
    EXPECT_TRUE(run.platform.callsStartingWith("print_text").empty());  // no prompt
    EXPECT_EQ(run.platform.eventsLeft(), 1u);                           // nothing waited
    EXPECT_DOUBLE_EQ(run.ctx.sim.t, -run.ctx.params.dt);
  }
}

TEST(ShowSchematic, ClosingTheMainWindowDuringThePromptReturns) {
  PictureRun run(capacitorVariant(), 800, 600);
  run.platform.closeMainWindow();
  ShowSchematic(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant.kind, run.ctx.variant,
                "ausschemkond.gif");
  EXPECT_EQ(run.platform.callsStartingWith("print_text 0 Weiter").size(), 1u);
  EXPECT_TRUE(run.platform.callsStartingWith("fill_box").empty());
  EXPECT_TRUE(run.platform.callsStartingWith("put_image").empty());
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, 2.35);
}

TEST(ShowSchematic, AMenuCommandInsideThePromptStillEndsOnTheMainWindow) {
  PictureRun run(coilVariant(), 800, 600);
  run.platform.install_menu({}, [&](int) { run.platform.set_output_window(3); });
  run.platform.menu(23).key("x");
  ShowSchematic(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant.kind, run.ctx.variant,
                "einschemspule.gif");
  const std::vector<std::string> calls = run.platform.calls;
  expectInOrder(calls, {"menu 23", "set_output_window 3", "set_output_window 0", "clear_window 0",
                        "fill_box 410 6 790 558"});
  EXPECT_EQ(run.platform.eventsLeft(), 0u);
}

}  // namespace
}  // namespace lab
