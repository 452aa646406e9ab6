// The whole program on the recording platform: start-up order, main loop, quitting and closing.
#include "shell/main_procedure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

// Position of the first call at or after `from` that starts with `prefix`; -1 when none.
int findCall(const std::vector<std::string>& calls, const std::string& prefix, int from = 0) {
  for (int i = from; i < static_cast<int>(calls.size()); ++i) {
    if (calls[static_cast<std::size_t>(i)].rfind(prefix, 0) == 0) return i;
  }
  return -1;
}

// Every prefix is found, each after the one before it.
void expectInOrder(const std::vector<std::string>& calls,
                   const std::vector<std::string>& prefixes) {
  int position = 0;
  for (const std::string& prefix : prefixes) {
    const int found = findCall(calls, prefix, position);
    ASSERT_GE(found, 0) << "missing after call " << position << ": " << prefix;
    position = found + 1;
  }
}

const std::vector<std::string> ShutDownCalls = {"end_of_run", "close_window 0", "close_window 1",
                                                "close_window 2", "close_window 3"};

std::vector<std::string> lastCalls(const std::vector<std::string>& calls, std::size_t n) {
  if (calls.size() < n) return calls;
  return std::vector<std::string>(calls.end() - static_cast<std::ptrdiff_t>(n), calls.end());
}

const std::string KeysHelp =
    "message_box  Tasten <0> u. <1> | bedienen den Schalter !|| Die Zeit läuft, wenn eine| der "
    "Tasten gedrückt ist.";

struct StartupCase {
  const VariantData* variant;
  std::string caption;
  std::string thirdLine;
};

TEST(Startup, RunsItsStepsInOrderAt1024x768) {
  const std::vector<StartupCase> cases = {
      {&coilVariant(), "set_caption 0 Ein-/Ausschaltvorgänge bei der Spule",
       "draw_text 121 460 bei der Spule"},
      {&capacitorVariant(), "set_caption 0 Ein-/Ausschaltvorgänge beim Kondensator",
       "draw_text 102 460 am Kondensator"},
  };
  for (const StartupCase& c : cases) {
    SCOPED_TRACE(c.variant->programName);
    test::RecordingPlatform platform(1024, 768);
    platform.key(" ");
    EXPECT_EQ(runMainProcedure(platform, *c.variant), 0);
    const std::vector<std::string>& calls = platform.calls;
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0], "open_main_window");
    EXPECT_EQ(calls[1], "activate_window 0");
    EXPECT_EQ(calls[2], c.caption);
    expectInOrder(calls, {
                             // screen metrics and pen 1
                             "set_colour 0 0 170",
                             "set_back_colour 0 170 170",
                             "set_window_background 0 255 0 255",
                             // title screen
                             "set_colour 0 0 255",
                             "set_font_name times",
                             "set_font_size 38.4",
                             "fill_box 12 15 505 752",
                             "fill_box 524 15 1017 752",
                             "set_current_folder /pictures",
                             "draw_box 12 15 505 752",
                             c.thirdLine,
                             "set_font_size 15.36",
                             "set_font_size 25.6",
                             "draw_box 524 15 1017 752",
                             "set_text_position 19 84",
                             "print_text 0 Weiter ?   <RETURN>",
                             "clear_window 0",
                             "set_text_transparent off",
                             // menu, panel and circuit
                             "set_output_window 0",
                             "install_menu",
                             "capture_image [0 0 510 38]",
                             "draw_circle",
                             KeysHelp,
                             // ClearScreen: a fresh panel and circuit, then the blank graph back
                             "clear_window 0",
                             "capture_image [0 0 510 38]",
                             "draw_circle",
                             "put_image [0 0 510 38] 0 0",
                             // newStart
                             "set_clip 0 7 510 764",
                             "put_image [0 0 510 38] 0 0",
                             "clear_clip",
                             "end_of_run",
                         });
    EXPECT_EQ(findCall(calls, "message_box"), findCall(calls, KeysHelp));
    EXPECT_EQ(platform.callsStartingWith("install_menu").size(), 1u);
    EXPECT_EQ(platform.menuTable.at(0), "DESK |");
    EXPECT_EQ(lastCalls(calls, 5), ShutDownCalls);
    EXPECT_EQ(platform.currentFolder, "/pictures");
  }
}

TEST(Startup, LeavesARunReadyToStep) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    test::RecordingPlatform platform(800, 600);
    platform.key(" ");
    LabContext ctx(platform, *variant);
    StartupSequence(ctx);
    EXPECT_DOUBLE_EQ(ctx.sim.t, -0.05);
    EXPECT_EQ(ctx.sim.StepCounter, -1);
    EXPECT_FALSE(ctx.curve.SegmentStarted);
    EXPECT_EQ(ctx.SwitchState, 0);
    EXPECT_EQ(ctx.DrawMode, "j");
    EXPECT_EQ(ctx.QuitMarker, "");
    EXPECT_EQ(ctx.HelpLineCount, variant->kind == CircuitVariant::Coil ? 20 : 21);
    EXPECT_EQ(ctx.MenuTable[32], "&Hilfe");
    EXPECT_TRUE(platform.main_window_exists());
    EXPECT_EQ(platform.outputWindow(), 0);
  }
}

TEST(Startup, ARefusedWindowBackgroundStopsTheProgram) {
  test::RecordingPlatform platform(800, 600);
  platform.refuseWindowBackground = true;
  platform.key(" ");
  EXPECT_THROW(runMainProcedure(platform, coilVariant()), test::RuntimeStop);
  EXPECT_EQ(platform.calls.back().rfind("fail ", 0), 0u);
  EXPECT_EQ(platform.calls[platform.calls.size() - 2], "set_window_background 0 255 0 255");
  EXPECT_TRUE(platform.callsStartingWith("fill_box").empty());
}

TEST(MainLoop, HeldKeysStepTheCircuitUntilQuit) {
  test::RecordingPlatform platform(800, 600);
  platform.key(" ").key("1x1").menu(1).key("1");
  LabContext ctx(platform, coilVariant());
  StartupSequence(ctx);
  mainLoop(ctx);
  EXPECT_EQ(ctx.sim.StepCounter, 1);  // two steps; "x" is no switch key
  EXPECT_EQ(ctx.sampleLog.U[0], -10.0);
  EXPECT_EQ(ctx.sampleLog.d[0], 0.5);
  EXPECT_EQ(ctx.SwitchState, 2);
  EXPECT_TRUE(platform.main_window_exists());
  EXPECT_EQ(platform.eventsLeft(), 1u);  // the key after "&Quit" is never read
}

TEST(MainLoop, QuitDuringTheKeyWaitEndsWithoutAStep) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    test::RecordingPlatform platform(800, 600);
    platform.key(" ").menu(1).key("1");
    LabContext ctx(platform, *variant);
    StartupSequence(ctx);
    const std::size_t before = platform.calls.size();
    mainLoop(ctx);
    EXPECT_EQ(ctx.sim.StepCounter, -1);
    EXPECT_EQ(ctx.SwitchState, 0);
    EXPECT_DOUBLE_EQ(ctx.sim.t, -0.05);
    EXPECT_TRUE(platform.main_window_exists());
    EXPECT_EQ(platform.eventsLeft(), 1u);
    const std::vector<std::string> loopCalls(platform.calls.begin() + before, platform.calls.end());
    EXPECT_EQ(loopCalls,
              (std::vector<std::string>{"menu 1", "set_output_window 0", "set_colour 255 255 255",
                                        "set_text_position 10 10"}));
    shutDown(ctx.platform);
    EXPECT_EQ(lastCalls(platform.calls, 5), ShutDownCalls);
  }
}

TEST(MainLoop, QuitDuringTheContinuePromptStillWaitsForTheKey) {
  // At 320 x 200 one time unit is 10 pixels; with dt 0.5 the 31st step (time 15, x 160)
  // passes 159 and shows the prompt.
  test::RecordingPlatform platform(320, 200);
  platform.key(" ").menu(15).line("0.5").menu(3).key(std::string(31, '1'));
  platform.menu(1).key("k").key("1");
  LabContext ctx(platform, coilVariant());
  StartupSequence(ctx);
  mainLoop(ctx);
  EXPECT_EQ(ctx.QuitMarker, "*");
  EXPECT_EQ(ctx.sim.StepCounter, 30);
  // the title screen's prompt and the wrap's
  EXPECT_EQ(platform.callsStartingWith("print_text 0 Weiter ?  <RETURN>").size(), 2u);
  EXPECT_FALSE(platform.scriptExhausted());
  EXPECT_EQ(platform.eventsLeft(), 1u);  // "k" answered the prompt; the "1" after it is unread
  EXPECT_DOUBLE_EQ(ctx.sim.t, -0.5);     // the wrap finished after the prompt
  EXPECT_EQ(ctx.curve.x, 10);
}

TEST(MainLoop, ClosingTheWindowDuringTheKeyWaitEndsTheProgram) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    test::RecordingPlatform platform(800, 600);
    platform.key(" ").key("5").closeMainWindow().key("1");
    EXPECT_EQ(runMainProcedure(platform, *variant), 0);
    EXPECT_FALSE(platform.scriptExhausted());
    EXPECT_EQ(platform.eventsLeft(), 1u);
    EXPECT_EQ(lastCalls(platform.calls, 6),
              (std::vector<std::string>{"close-main-window", "end_of_run", "close_window 0",
                                        "close_window 1", "close_window 2", "close_window 3"}));
  }
}

TEST(Startup, ClosingTheWindowAtTheTitleScreenEndsTheProgram) {
  test::RecordingPlatform platform(800, 600);
  platform.closeMainWindow().key("1");
  EXPECT_EQ(runMainProcedure(platform, coilVariant()), 0);
  EXPECT_FALSE(platform.scriptExhausted());
  EXPECT_TRUE(platform.callsStartingWith("install_menu").empty());
  EXPECT_TRUE(platform.messageBoxes.empty());
  EXPECT_EQ(lastCalls(platform.calls, 7),
            (std::vector<std::string>{"clear_window 0", "set_text_transparent off", "end_of_run",
                                      "close_window 0", "close_window 1", "close_window 2",
                                      "close_window 3"}));
}

TEST(Startup, ClosingTheWindowAtTheKeysHelpEndsTheProgram) {
  test::RecordingPlatform platform(800, 600);
  platform.key(" ").closeMainWindow().key("1");
  EXPECT_EQ(runMainProcedure(platform, capacitorVariant()), 0);
  EXPECT_FALSE(platform.scriptExhausted());
  EXPECT_EQ(platform.messageBoxes.size(), 1u);
  EXPECT_EQ(lastCalls(platform.calls, 7),
            (std::vector<std::string>{KeysHelp, "close-main-window", "end_of_run", "close_window 0",
                                      "close_window 1", "close_window 2", "close_window 3"}));
}

TEST(Startup, ARunWithAnEmptyScriptEndsAsIfTheWindowWereClosed) {
  test::RecordingPlatform platform(640, 480);
  EXPECT_EQ(runMainProcedure(platform, coilVariant()), 0);
  EXPECT_TRUE(platform.scriptExhausted());
  EXPECT_EQ(lastCalls(platform.calls, 5), ShutDownCalls);
}

}  // namespace
}  // namespace lab
