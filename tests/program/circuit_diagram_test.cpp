// The circuit diagram and the switch lever of both programs against the recording platform.
#include "display/circuit_diagram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

// The panel and the frame, then the wide pen for the circuit itself.
const std::vector<std::string> PanelAt800x600 = {
    "set_output_window 0",     "set_line_style solid",   "set_line_width 1",
    "set_colour 0 0 255",      "fill_box 410 6 790 558", "set_colour 255 255 255",
    "set_back_colour 0 0 255", "draw_box 410 6 790 558", "set_line_style solid",
    "set_line_width 3",
};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class CircuitAt800x600 : public ::testing::Test {
 protected:
  std::vector<std::string> draw(const VariantData& variant) {
    LabContext ctx(p, variant);
    initScreenMetrics(ctx.platform, ctx.layout);
    p.takeCalls();
    DrawCircuit(ctx.platform, ctx.layout, ctx.variant.kind, ctx.variant);
    return p.takeCalls();
  }
  test::RecordingPlatform p{800, 600};
};

TEST_F(CircuitAt800x600, CoilDiagram) {
  const std::vector<std::string> circuit = {
      "draw_line 475 90 525 90",    // top wire to contact A
      "draw_circle 525 90 5",       // A
      "draw_circle 585 90 5",       // P
      "draw_line 585 90 525 60",    // lever, position 0
      "draw_line 585 90 725 90",    //
      "draw_line 725 90 725 204",   //
      "draw_line 725 216 725 330",  //
      "draw_line 725 450 725 510",  //
      "draw_line 725 510 475 510",  //
      "draw_line 475 510 475 306",  //
      "draw_line 475 294 475 90",   //
      "draw_line 600 510 600 360",  //
      "draw_line 600 240 600 90",   //
      "draw_line 450 294 500 294",  // battery plates
      "draw_line 462 306 488 306",  //
      "draw_box 708 330 742 450",   // R
      "draw_box 588 240 612 360",   // R2
      "fill_box 713 150 737 270",   // coil bar
      "draw_line 708 150 708 270",  // core
      "draw_text 757 390 R",       "draw_text 505 289 U ", "draw_text 525 299 0 ",
      "draw_text 627 300 R2",      "draw_text 757 206 L",  "draw_text 525 30 1",
      "draw_text 525 105 0",
  };
  EXPECT_EQ(draw(coilVariant()), joined(PanelAt800x600, circuit));
}

TEST_F(CircuitAt800x600, CapacitorDiagram) {
  const std::vector<std::string> circuit = {
      "draw_line 475 90 575 90",    //
      "draw_circle 575 90 5",       // contact 1
      "draw_circle 625 90 5",       // pivot
      "draw_circle 600 135 5",      // contact 0
      "draw_line 625 90 725 90",    //
      "draw_line 725 90 725 204",   //
      "draw_line 725 216 725 330",  //
      "draw_line 725 450 725 510",  //
      "draw_line 725 510 475 510",  //
      "draw_line 475 510 475 306",  //
      "draw_line 475 294 475 90",   //
      "draw_line 600 510 600 360",  //
      "draw_line 708 204 742 204",  // plates
      "draw_line 708 216 742 216",  //
      "draw_line 600 240 600 135",  //
      "draw_line 450 294 500 294",  //
      "draw_line 462 306 488 306",  //
      "draw_box 708 330 742 450",   //
      "draw_box 588 240 612 360",   //
      "draw_line 625 90 600 129",   // lever, position 0
      "draw_text 757 390 R",       "draw_text 505 289 U ", "draw_text 525 299 0 ",
      "draw_text 627 300 R2",      "draw_text 757 206 C",  "draw_text 560 60 1",
      "draw_text 605 140 0",
  };
  EXPECT_EQ(draw(capacitorVariant()), joined(PanelAt800x600, circuit));
}

TEST(CircuitDiagram, HalfPixelLabelIsPassedUnrounded) {
  // At height 605: Y110 = 332, Y150 = 453, so "R" sits at y 392.5.
  test::RecordingPlatform p(800, 605);
  LabContext ctx(p, coilVariant());
  initScreenMetrics(ctx.platform, ctx.layout);
  DrawCircuit(ctx.platform, ctx.layout, ctx.variant.kind, ctx.variant);
  const auto texts = p.callsStartingWith("draw_text");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "draw_text 757 392.5 R");
}

TEST(CircuitDiagram, LeavesTheSwitchStateAlone) {
  test::RecordingPlatform p(800, 600);
  LabContext ctx(p, capacitorVariant());
  initScreenMetrics(ctx.platform, ctx.layout);
  ctx.SwitchState = 2;
  DrawCircuit(ctx.platform, ctx.layout, ctx.variant.kind, ctx.variant);
  EXPECT_EQ(ctx.SwitchState, 2);
}

struct SwitchCase {
  const char* name;
  const VariantData& variant;
  bool toOn;
  std::vector<std::string> calls;
  int state;
};

TEST(CircuitDiagram, SwitchErasesInBlueAndDrawsInMagenta) {
  const SwitchCase cases[] = {
      {"coil on",
       coilVariant(),
       true,
       {"set_colour 0 0 255", "draw_line 585 90 525 60", "set_colour 255 0 255",
        "draw_line 585 90 525 84"},
       2},
      {"coil off",
       coilVariant(),
       false,
       {"set_colour 0 0 255", "draw_line 585 90 525 84", "set_colour 255 0 255",
        "draw_line 585 90 525 60"},
       1},
      {"capacitor on",
       capacitorVariant(),
       true,
       {"set_clip 575 90 625 129", "set_colour 0 0 255", "draw_line 625 90 600 129",
        "set_colour 255 0 255", "draw_line 575 96 625 90"},
       2},
      {"capacitor off",
       capacitorVariant(),
       false,
       {"set_clip 575 90 625 129", "set_colour 0 0 255", "draw_line 575 96 625 90",
        "set_colour 255 0 255", "draw_line 625 90 600 129"},
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::RecordingPlatform p(800, 600);
    LabContext ctx(p, c.variant);
    initScreenMetrics(ctx.platform, ctx.layout);
    DrawCircuit(ctx.platform, ctx.layout, ctx.variant.kind, ctx.variant);
    p.takeCalls();
    // Twice: the key of the position already shown repeats the same redraw.
    for (int round = 0; round < 2; ++round) {
      if (c.toOn) {
        SwitchTo1(ctx.platform, ctx.layout, ctx.variant.kind, ctx);
      } else {
        SwitchTo0(ctx.platform, ctx.layout, ctx.variant.kind, ctx);
      }
      EXPECT_EQ(p.takeCalls(), c.calls);
      EXPECT_EQ(ctx.SwitchState, c.state);
    }
  }
}

}  // namespace
}  // namespace lab
