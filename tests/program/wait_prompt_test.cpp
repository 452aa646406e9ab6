// The "Weiter ?" prompt: its position and text, and what ends the wait.
#include "tools/wait_prompt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/graph_panel.h"
#include "display/screen_layout.h"
#include "model/circuit_params.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "shell/menu.h"
#include "shell/messages.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

struct PromptRun {
  explicit PromptRun(int width = 800, int height = 600)
      : platform(width, height), ctx(platform, coilVariant()) {
    platform.open_main_window();
    setScreenMetrics(ctx.layout, width, height);
    computeAnchors(ctx.layout);
    platform.takeCalls();
  }
  test::RecordingPlatform platform;
  LabContext ctx;
};

struct PositionCase {
  int width;
  int height;
  int row;
  std::string position;
  std::string text;
};

TEST(WaitPrompt, PrintsAtItsRowWithTheBlanksOfItsColumn) {
  const std::vector<PositionCase> cases = {
      {1024, 768, 22, "19 84", "Weiter ?   <RETURN>"},  // 84.48
      {800, 600, 24, "19 72", "Weiter ?   <RETURN>"},
      {800, 600, 22, "19 66", "Weiter ?   <RETURN>"},
      {640, 480, 22, "19 53", "Weiter ?   <RETURN>"},  // 52.8
      {320, 200, 22, "2 22", "Weiter ?  <RETURN>"},    // XFactor exactly 1
      {319, 200, 24, "2 24", "Weiter ?  <RETURN>"},
      {321, 200, 24, "19 24", "Weiter ?   <RETURN>"},
      {400, 300, 3, "19 4", "Weiter ?   <RETURN>"},  // 4.5: halves go to the even neighbour
      {400, 300, 1, "19 2", "Weiter ?   <RETURN>"},  // 1.5
      {320, 100, 5, "2 2", "Weiter ?  <RETURN>"},    // 2.5
  };
  for (const PositionCase& c : cases) {
    PromptRun run(c.width, c.height);
    run.platform.key("x");
    WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, static_cast<std::int16_t>(c.row));
    const std::vector<std::string> expected = {"set_text_position " + c.position,
                                               "print_text 0 " + c.text};
    EXPECT_EQ(run.platform.takeCalls(), expected) << c.width << "x" << c.height << " row " << c.row;
  }
}

TEST(WaitPrompt, AnyKeyEndsItAndIsConsumed) {
  PromptRun run;
  run.platform.key("a1");
  WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
  EXPECT_FALSE(run.platform.scriptExhausted());
  EXPECT_TRUE(run.platform.main_window_exists());
  run.platform.wait_for_event();
  EXPECT_EQ(run.platform.read_key(), "1");  // only the key that ended the prompt is gone
  EXPECT_EQ(run.platform.read_key(), "");
}

TEST(WaitPrompt, AKeyWaitingBeforehandEndsItAtOnce) {
  PromptRun run;
  run.platform.key("0").key("z");
  run.platform.wait_for_event();  // "0" is queued before the prompt starts
  WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
}

TEST(WaitPrompt, AMouseClickEndsIt) {
  for (int button : {LeftButton, RightButton, LeftButton | RightButton}) {
    PromptRun run;
    run.platform.mouse(40, 50, 0).mouse(40, 50, button).key("k");
    WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
    EXPECT_EQ(run.platform.eventsLeft(), 1u) << button;
    EXPECT_FALSE(run.platform.scriptExhausted()) << button;
  }
}

TEST(WaitPrompt, MovingTheMouseWithoutAButtonDoesNotEndIt) {
  PromptRun run;
  run.platform.mouse(10, 10).mouse(200, 300).key("q").key("r");
  WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);  // ended by "q", not by the moves
}

TEST(WaitPrompt, AButtonHeldFromBeforeMustBeReleasedAndPressedAgain) {
  PromptRun run;
  run.platform.mouse(5, 5, LeftButton);
  run.platform.wait_for_event();  // the press that answered an earlier prompt, still held
  run.platform.mouse(6, 6, LeftButton).mouse(6, 6, 0).mouse(6, 6, LeftButton).key("s");
  WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
}

TEST(WaitPrompt, EndsWhenTheMainWindowIsClosed) {
  PromptRun run;
  run.platform.mouse(3, 3).closeMainWindow().key("k");
  WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
  EXPECT_FALSE(run.platform.main_window_exists());
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
}

TEST(WaitPrompt, EndsAtOnceWhenTheMainWindowIsAlreadyGone) {
  PromptRun run;
  run.platform.close_window(0);
  run.platform.key("k");
  WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
}

// A program past its start-up, so that menu choices run their commands inside the prompt.
struct RunningProgram : PromptRun {
  RunningProgram() {
    loadCircuitDefaults(ctx, ctx.variant);
    loadOutputDefaults(ctx, ctx.layout);
    LoadHelpText(ctx, ctx.variant);
    BuildMenu(ctx);
    DrawGraphPanel(ctx.platform, ctx, ctx.variant);
    platform.takeCalls();
  }
};

TEST(WaitPrompt, ACommandChosenInsideItRunsAndThePromptGoesOn) {
  RunningProgram run;
  run.platform.menu(20).menu(4).key("k").key("z");
  WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);  // ended by "k", after both commands
  EXPECT_EQ(run.platform.callsStartingWith("clear_window 0").size(), 1u);
  EXPECT_EQ(run.platform.messageBoxes.size(), 1u);
}

TEST(WaitPrompt, ButtonsThatEndedMouseMeasuringInsideItDoNotAnswerIt) {
  // The command may run inside the event wait or inside the prompt's own key read.
  for (const bool insideKeyRead : {false, true}) {
    RunningProgram run;
    run.platform.menusInsideKeyRead = insideKeyRead;
    const int both = LeftButton | RightButton;
    run.platform.menu(29).mouse(50, 50, both).mouse(50, 60, both).mouse(50, 60, 0);
    run.platform.mouse(50, 60, LeftButton).key("z");
    WaitPrompt(run.ctx.platform, run.ctx.layout, run.ctx, 22);
    // Only the fresh press after the release ended it.
    EXPECT_EQ(run.platform.eventsLeft(), 1u) << insideKeyRead;
    EXPECT_FALSE(run.platform.callsStartingWith("set_cursor").empty()) << insideKeyRead;
  }
}

}  // namespace
}  // namespace lab
