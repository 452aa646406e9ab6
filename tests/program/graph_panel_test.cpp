// The blank graph panels drawn against the recording platform at the worked screen sizes.
#include "display/graph_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "display/strip_store.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

// Sets what the start-up has set before the panel is first drawn.
void prepare(LabContext& ctx) {
  initScreenMetrics(ctx.platform, ctx.layout);
  ctx.layout.SnapshotBottom = static_cast<std::int16_t>(ScaleY(ctx.layout, 199));
}

TEST(GraphPanel, DrawsTheCoilPanelsInOrderAt800x600) {
  test::RecordingPlatform p(800, 600);
  LabContext ctx(p, coilVariant());
  prepare(ctx);
  p.takeCalls();

  DrawGraphPanel(ctx.platform, ctx, ctx.variant);

  std::vector<std::string> expected = {
      "set_output_window 0",
      "set_line_style solid",
      "set_line_width 1",
      "set_font_size 12",
      "set_colour 0 0 255",
      "fill_box 5 6 398 276",
      "fill_box 5 285 398 558",
      "set_colour 255 255 255",
      "set_back_colour 0 0 255",
      "draw_line 10 141 392.5 141",
      "draw_line 10 422 392.5 422",
      "draw_line 10 549 10 294",
      "draw_line 10 267 10 15",
      "draw_box 5 6 398 276",
      "draw_box 5 285 398 558",
      "draw_text 350 144 Zeit",
      "draw_text 350 426 Zeit",
      "draw_text 17 12 Induktions-Spannung",
      "draw_text 17 294 Spulen-Strom",
  };
  const int boundaries[] = {0,   29,  59,  89,  119, 149, 179, 208, 238, 268, 298,
                            328, 358, 388, 417, 447, 477, 507, 537, 567, 597};
  for (int i = 1; i <= 20; ++i) {
    expected.push_back("capture_image [0 " + std::to_string(boundaries[i - 1]) + " 398 " +
                       std::to_string(boundaries[i]) + "]");
  }
  EXPECT_EQ(p.takeCalls(), expected);
}

TEST(GraphPanel, ComputesTheAnchorsItDrawsWith) {
  test::RecordingPlatform p(1024, 768);
  LabContext ctx(p, coilVariant());
  setScreenMetrics(ctx.layout, 1024, 768);  // metrics only: the panel computes the anchors
  ctx.layout.SnapshotBottom = 764;

  DrawGraphPanel(ctx.platform, ctx, ctx.variant);

  const ScreenLayout& l = ctx.layout;
  EXPECT_EQ(l.GraphRight, 510);
  EXPECT_EQ(l.VoltageZeroY, 180);
  EXPECT_EQ(l.CurrentZeroY, 539);
  EXPECT_EQ(l.CircuitLeft, 525);
  EXPECT_EQ(p.callsStartingWith("set_font_size"), std::vector<std::string>{"set_font_size 15.36"});
  EXPECT_EQ(p.callsStartingWith("fill_box"),
            (std::vector<std::string>{"fill_box 5 7 510 353", "fill_box 5 364 510 714"}));
  EXPECT_EQ(p.callsStartingWith("draw_text"),
            (std::vector<std::string>{"draw_text 448 184 Zeit", "draw_text 448 545 Zeit",
                                      "draw_text 22 15 Induktions-Spannung",
                                      "draw_text 22 376 Spulen-Strom"}));
  const auto captures = p.callsStartingWith("capture_image");
  ASSERT_EQ(captures.size(), 20u);
  EXPECT_EQ(captures.back(), "capture_image [0 725 510 764]");
}

TEST(GraphPanel, CapacitorTitles) {
  test::RecordingPlatform p(640, 480);
  LabContext ctx(p, capacitorVariant());
  prepare(ctx);

  DrawGraphPanel(ctx.platform, ctx, ctx.variant);

  EXPECT_EQ(p.callsStartingWith("draw_text"),
            (std::vector<std::string>{"draw_text 280 115 Zeit", "draw_text 280 340 Zeit",
                                      "draw_text 14 9 Kondensator-Spannung",
                                      "draw_text 14 235 Kondensator-Strom"}));
  EXPECT_EQ(p.callsStartingWith("set_font_size"), std::vector<std::string>{"set_font_size 9.6"});
}

TEST(GraphPanel, SnapshotPutsTheBlankPanelsBack) {
  test::RecordingPlatform p(800, 600);
  LabContext ctx(p, coilVariant());
  prepare(ctx);
  DrawGraphPanel(ctx.platform, ctx, ctx.variant);
  p.takeCalls();

  RestoreStrips(p, ctx.GraphSnapshot, 0, ctx.layout.SnapshotBottom, 20);

  const auto calls = p.takeCalls();
  ASSERT_EQ(calls.size(), 20u);
  EXPECT_EQ(calls.front(), "put_image [0 0 398 29] 0 0");
  EXPECT_EQ(calls.back(), "put_image [0 567 398 597] 0 567");
}

TEST(GraphPanel, RedrawingReplacesTheSnapshot) {
  test::RecordingPlatform p(800, 600);
  LabContext ctx(p, coilVariant());
  prepare(ctx);
  DrawGraphPanel(ctx.platform, ctx, ctx.variant);
  const ImageHandle first = ctx.GraphSnapshot[1];
  DrawGraphPanel(ctx.platform, ctx, ctx.variant);
  ASSERT_TRUE(ctx.GraphSnapshot[1]);
  EXPECT_NE(ctx.GraphSnapshot[1], first);
}

}  // namespace
}  // namespace lab
