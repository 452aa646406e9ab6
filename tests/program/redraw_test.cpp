// Restarting the graph, rebuilding the main window and the two drawing modes.
#include "tools/redraw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/colours.h"
#include "display/screen_layout.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

// trunc(i * 597 / 20) for i = 0 to 19: the top rows of the strips at a height of 600.
const std::vector<int> StripTops597 = {0,   29,  59,  89,  119, 149, 179, 208, 238, 268,
                                       298, 328, 358, 388, 417, 447, 477, 507, 537, 567};

struct ProgramRun {
  explicit ProgramRun(const VariantData& variant) : platform(800, 600), ctx(platform, variant) {
    platform.open_main_window();
    setScreenMetrics(ctx.layout, 800, 600);
    computeAnchors(ctx.layout);
    ctx.layout.SnapshotBottom = 597;
    // A snapshot whose strips are known by name: strip i is "[i 0 0 0]".
    for (int i = 1; i <= 20; ++i) ctx.GraphSnapshot[i] = platform.capture_image(i, 0, 0, 0);
    // A run in the middle of a sweep.
    ctx.params.Initial = 2.5;
    ctx.params.dt = 0.1;
    ctx.sim.t = 3.7;
    ctx.sim.I = 7.25;
    ctx.sim.U = -4.5;
    ctx.curve.SegmentStarted = true;
    ctx.sim.StepCounter = 38;
    ctx.curve.x = 140;
    ctx.curve.prevX = 137;
    ctx.sampleLog.t[5] = 0.5;
    platform.takeCalls();
  }
  test::RecordingPlatform platform;
  LabContext ctx;
};

std::vector<std::string> restoredSnapshot() {
  std::vector<std::string> calls;
  for (int i = 1; i <= 20; ++i) {
    calls.push_back("put_image [" + std::to_string(i) + " 0 0 0] 0 " +
                    std::to_string(StripTops597[i - 1]));
  }
  return calls;
}

std::string colourCall(const std::string& name, Colour c) {
  return name + " " + std::to_string(c.red) + " " + std::to_string(c.green) + " " +
         std::to_string(c.blue);
}

void expectUntouchedRecord(const LabContext& ctx) {
  EXPECT_EQ(ctx.sim.StepCounter, 38);
  EXPECT_EQ(ctx.curve.x, 140);
  EXPECT_EQ(ctx.curve.prevX, 137);
  EXPECT_EQ(ctx.sampleLog.t[5], 0.5);
}

TEST(RestartGraph, CoilStartsAgainFromTheInitialCurrent) {
  ProgramRun run(coilVariant());
  RestartGraph(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, -0.1);
  EXPECT_EQ(run.ctx.sim.I, 2.5);
  EXPECT_EQ(run.ctx.sim.U, 0.0);
  EXPECT_FALSE(run.ctx.curve.SegmentStarted);
  expectUntouchedRecord(run.ctx);
}

TEST(RestartGraph, CapacitorStartsAgainFromTheInitialVoltage) {
  ProgramRun run(capacitorVariant());
  RestartGraph(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, -0.1);
  EXPECT_EQ(run.ctx.sim.U, 2.5);
  EXPECT_EQ(run.ctx.sim.I, 0.0);
  EXPECT_FALSE(run.ctx.curve.SegmentStarted);
  expectUntouchedRecord(run.ctx);
}

TEST(RestartGraph, SelectsPenOneAndPutsTheBlankGraphBackStripByStrip) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    ProgramRun run(*variant);
    RestartGraph(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
    std::vector<std::string> expected = {colourCall("set_colour", paletteColour(1)),
                                         colourCall("set_back_colour", paletteColour(3))};
    for (const std::string& call : restoredSnapshot()) expected.push_back(call);
    EXPECT_EQ(run.platform.takeCalls(), expected) << variant->programName;
  }
}

TEST(RestartGraph, IgnoresTheDrawingMode) {
  for (const std::string mode : {"j", "n"}) {
    ProgramRun run(coilVariant());
    run.ctx.DrawMode = mode;
    RestartGraph(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
    EXPECT_EQ(run.platform.callsStartingWith("put_image").size(), 20u) << mode;
    EXPECT_EQ(run.ctx.DrawMode, mode);
  }
}

TEST(ClearScreen, RebuildsTheMainWindowWithAFreshSnapshot) {
  for (const std::string mode : {"j", "n"}) {
    ProgramRun run(coilVariant());
    run.ctx.DrawMode = mode;
    run.platform.set_output_window(3);
    run.platform.takeCalls();
    ClearScreen(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind, run.ctx.variant);
    const std::vector<std::string> calls = run.platform.takeCalls();
    ASSERT_GE(calls.size(), 23u);
    const std::vector<std::string> start(calls.begin(), calls.begin() + 3);
    EXPECT_EQ(start,
              (std::vector<std::string>{"set_output_window 0", "clear_clip", "clear_window 0"}));
    // The panel drawing takes a new snapshot of the band (0, 0)-(398, 597); it is what comes back.
    std::vector<std::string> expectedEnd;
    for (int i = 1; i <= 20; ++i) {
      const int bottom = i < 20 ? StripTops597[i] : 597;
      expectedEnd.push_back("put_image [0 " + std::to_string(StripTops597[i - 1]) + " 398 " +
                            std::to_string(bottom) + "] 0 " + std::to_string(StripTops597[i - 1]));
    }
    const std::vector<std::string> end(calls.end() - 20, calls.end());
    EXPECT_EQ(end, expectedEnd) << mode;
    EXPECT_EQ(run.platform.callsStartingWith("capture_image [0 0 398 29]").size(), 1u);
    EXPECT_FALSE(run.platform.callsStartingWith("draw_circle").empty());  // the diagram
    EXPECT_DOUBLE_EQ(run.ctx.sim.t, -0.1);
    EXPECT_EQ(run.ctx.sim.I, 2.5);
    EXPECT_FALSE(run.ctx.curve.SegmentStarted);
    EXPECT_EQ(run.ctx.DrawMode, mode);
    expectUntouchedRecord(run.ctx);
  }
}

TEST(DrawMode, TheTwoEntriesOnlyStoreTheMode) {
  ProgramRun run(coilVariant());
  setDrawModeOverwrite(run.ctx);
  EXPECT_EQ(run.ctx.DrawMode, "n");
  setDrawModeOverwrite(run.ctx);
  EXPECT_EQ(run.ctx.DrawMode, "n");
  setDrawModeEmptyWindow(run.ctx);
  EXPECT_EQ(run.ctx.DrawMode, "j");
  EXPECT_TRUE(run.platform.takeCalls().empty());
  EXPECT_EQ(run.ctx.sim.t, 3.7);
  EXPECT_TRUE(run.ctx.curve.SegmentStarted);
}

}  // namespace
}  // namespace lab
