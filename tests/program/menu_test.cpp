// The menu table built from the program's texts and the command behind every menu index.
#include "shell/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "display/graph_panel.h"
#include "display/screen_layout.h"
#include "model/circuit_params.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "shell/messages.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

// A program past its start-up: defaults, help text, menu and a drawn graph panel.
struct ProgramRun {
  explicit ProgramRun(const VariantData& variant) : platform(800, 600), ctx(platform, variant) {
    platform.open_main_window();
    initScreenMetrics(ctx.platform, ctx.layout);
    loadCircuitDefaults(ctx, ctx.variant);
    loadOutputDefaults(ctx, ctx.layout);
    LoadHelpText(ctx, ctx.variant);
    BuildMenu(ctx);
    DrawGraphPanel(ctx.platform, ctx, ctx.variant);
    platform.availablePictures = {variant.switchOnPicture, variant.switchOffPicture};
    platform.takeCalls();
  }
  test::RecordingPlatform platform;
  LabContext ctx;
};

std::vector<std::string> expectedTable(const std::string& initialEntry,
                                       const std::string& storageEntry) {
  std::vector<std::string> table = {
      "DESK |",
      "&Quit",
      std::string(13, '-'),
      "(Neu-)&Start",
      "&Info",
      "&Autor",
      "",
      "BAUTEILE |",
      "W&erte zeigen",
      std::string(14, '-'),
      "&Batteriespannung",
      initialEntry,
      "&Widerstand R",
      "Widerstand &R2",
      storageEntry,
      "&Zeitschritt dt",
      "",
      "AUSGABE |",
      "Zeichnen in &leeres Fenster",
      "&Grafik überschreiben",
      "&Bildschirm löschen",
      "&Hardcopy",
      std::string(20, '-'),
      "Tabelle &zeigen",
      "Tabelle &drucken",
      std::string(21, '-'),
      "&Einschalten - Schema zeigen",
      "&Ausschalten - Schema zeigen",
      std::string(21, '-'),
      "&Mausmessen",
      "",
      "Umschalten - <0> oder <1> ! |",
      "&Hilfe",
      "",
      "",
  };
  table.resize(81);  // indices 35 to 80 stay empty
  return table;
}

TEST(BuildMenu, FillsTheTableAndInstallsIt) {
  struct Case {
    const VariantData* variant;
    std::vector<std::string> table;
  };
  const std::vector<Case> cases = {
      {&coilVariant(), expectedTable("Anfangsstrom &I", "Induktivität &L")},
      {&capacitorVariant(), expectedTable("&Anfangsspannung", "Kapazität &C")},
  };
  for (const Case& c : cases) {
    test::RecordingPlatform platform;
    LabContext ctx(platform, *c.variant);
    BuildMenu(ctx);
    EXPECT_EQ(ctx.MenuTable, c.table) << c.variant->programName;
    EXPECT_EQ(platform.menuTable, c.table) << c.variant->programName;
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"install_menu"}));
  }
}

TEST(BuildMenu, AChoiceReachesTheDispatch) {
  ProgramRun run(coilVariant());
  run.platform.menu(1);
  run.platform.wait_for_event();
  EXPECT_EQ(run.ctx.QuitMarker, "*");
}

const std::vector<std::string> Prelude = {"set_output_window 0", "set_colour 255 255 255",
                                          "set_text_position 10 10"};

bool hasCall(const std::vector<std::string>& calls, const std::string& prefix) {
  for (const std::string& call : calls) {
    if (call.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

int countCalls(const std::vector<std::string>& calls, const std::string& prefix) {
  int n = 0;
  for (const std::string& call : calls) n += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

struct Command {
  std::function<void(test::RecordingPlatform&)> script;
  std::function<void(ProgramRun&, const std::vector<std::string>&)> check;
};

void noScript(test::RecordingPlatform&) {}

// The graph panel drawn again from scratch: a new snapshot of 20 strips and the window cleared.
void expectClearScreen(ProgramRun& run, const std::vector<std::string>& calls) {
  EXPECT_TRUE(hasCall(calls, "clear_window 0"));
  EXPECT_EQ(countCalls(calls, "capture_image"), 20);
  EXPECT_EQ(countCalls(calls, "put_image"), 20);
  EXPECT_TRUE(hasCall(calls, "draw_circle"));
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, -0.05);
}

void expectDialog(ProgramRun& run, const std::vector<std::string>& calls, Quantity quantity,
                  double value) {
  EXPECT_TRUE(hasCall(calls, "open_window 2"));
  EXPECT_EQ(fieldOf(run.ctx.params, quantity), value);
}

void expectBox(ProgramRun& run, const std::string& text) {
  ASSERT_EQ(run.platform.messageBoxes.size(), 1u);
  EXPECT_EQ(run.platform.messageBoxes[0].rfind(text, 0), 0u) << run.platform.messageBoxes[0];
}

std::map<int, Command> coilCommands() {
  const auto line = [](const std::string& text) {
    return [text](test::RecordingPlatform& p) { p.line(text); };
  };
  const auto key = [](test::RecordingPlatform& p) { p.key(" "); };
  return {
      {1, {noScript, [](ProgramRun& r, auto&) { EXPECT_EQ(r.ctx.QuitMarker, "*"); }}},
      {2, {noScript, expectClearScreen}},
      {3, {noScript, [](ProgramRun& r, auto&) { EXPECT_EQ(r.ctx.sim.StepCounter, -1); }}},
      {4,
       {noScript,
        [](ProgramRun& r, auto& calls) {
          expectBox(r, "|Durch eine Spule L kann der Spulen-|");
          EXPECT_EQ(countCalls(calls, "put_image"), 20);
          EXPECT_DOUBLE_EQ(r.ctx.sim.t, -0.05);
          EXPECT_FALSE(r.ctx.curve.SegmentStarted);
        }}},
      {5,
       {noScript,
        [](ProgramRun& r, auto& calls) {
          expectBox(r, "Programmautor:     ||");
          EXPECT_EQ(calls.size(), Prelude.size() + 1);  // the box and no drawing
        }}},
      {8, {noScript, [](ProgramRun& r, auto&) { expectBox(r, "    PARAMETER   ||Batteriespg."); }}},
      {9, {noScript, expectClearScreen}},
      {10, {line("5"), [](ProgramRun& r, auto& c) { expectDialog(r, c, Quantity::Uo, 5); }}},
      {11, {line("2"), [](ProgramRun& r, auto& c) { expectDialog(r, c, Quantity::Initial, 2); }}},
      {12, {line("3"), [](ProgramRun& r, auto& c) { expectDialog(r, c, Quantity::R, 3); }}},
      {13, {line("2"), [](ProgramRun& r, auto& c) { expectDialog(r, c, Quantity::R2, 2); }}},
      {14, {line("4"), [](ProgramRun& r, auto& c) { expectDialog(r, c, Quantity::Storage, 4); }}},
      {15, {line("0.5"), [](ProgramRun& r, auto& c) { expectDialog(r, c, Quantity::dt, 0.5); }}},
      {18, {noScript, [](ProgramRun& r, auto&) { EXPECT_EQ(r.ctx.DrawMode, "j"); }}},
      {19, {noScript, [](ProgramRun& r, auto&) { EXPECT_EQ(r.ctx.DrawMode, "n"); }}},
      {20, {noScript, expectClearScreen}},
      {21, {noScript, [](ProgramRun& r, auto&) { expectBox(r, "Hier nicht implementiert"); }}},
      {22, {noScript, expectClearScreen}},
      {23, {key, [](ProgramRun&, auto& calls) { EXPECT_TRUE(hasCall(calls, "open_window 3")); }}},
      {24,
       {noScript,
        [](ProgramRun& r, auto& calls) {
          EXPECT_TRUE(hasCall(calls, "printer_open_job"));
          EXPECT_FALSE(r.platform.printedLines.empty());
        }}},
      {26,
       {key,
        [](ProgramRun&, auto& calls) {
          EXPECT_TRUE(hasCall(calls, "put_picture_stretched einschemspule.gif"));
        }}},
      {27,
       {key,
        [](ProgramRun&, auto& calls) {
          EXPECT_TRUE(hasCall(calls, "put_picture_stretched ausschemspule.gif"));
        }}},
      {29,
       {[](test::RecordingPlatform& p) { p.mouse(100, 100, LeftButton | RightButton); },
        [](ProgramRun& r, auto& calls) {
          expectBox(r, "Unbedingt mit Maustaste 3 beenden !");
          EXPECT_TRUE(hasCall(calls, "set_cursor"));
        }}},
      {32,
       {noScript,
        [](ProgramRun& r, auto& calls) {
          expectBox(r, " Tasten <0> u. <1> | bedienen den Schalter !||");
          EXPECT_EQ(calls.size(), Prelude.size() + 1);  // the box and no drawing
        }}},
  };
}

TEST(Win_0_MenuEvent, EveryIndexRunsItsCommandOrNothing) {
  const std::map<int, Command> commands = coilCommands();
  for (int index = 0; index <= 80; ++index) {
    SCOPED_TRACE("index " + std::to_string(index));
    ProgramRun run(coilVariant());
    // A running sweep, so that every restart and every new start shows.
    run.ctx.sim.t = 2.0;
    run.ctx.sim.StepCounter = 7;
    run.ctx.curve.SegmentStarted = true;
    run.ctx.DrawMode = index == 18 ? "n" : "j";
    const auto found = commands.find(index);
    if (found != commands.end()) found->second.script(run.platform);
    int chosen = index;
    Win_0_MenuEvent(run.ctx, chosen);
    const std::vector<std::string> calls = run.platform.takeCalls();
    ASSERT_GE(calls.size(), Prelude.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 3), Prelude);
    EXPECT_FALSE(run.platform.scriptExhausted());
    EXPECT_EQ(run.platform.eventsLeft(), 0u);
    if (found != commands.end()) {
      found->second.check(run, calls);
      continue;
    }
    EXPECT_EQ(calls, Prelude);
    EXPECT_EQ(run.ctx.QuitMarker, "");
    EXPECT_EQ(run.ctx.DrawMode, "j");
    EXPECT_EQ(run.ctx.sim.t, 2.0);
    EXPECT_EQ(run.ctx.sim.StepCounter, 7);
    EXPECT_TRUE(run.ctx.curve.SegmentStarted);
    EXPECT_TRUE(run.platform.messageBoxes.empty());
  }
}

TEST(Win_0_MenuEvent, CapacitorEntriesReachTheirOwnDialogsAndPictures) {
  struct Case {
    int index;
    std::string input;
    Quantity quantity;
    double value;
  };
  for (const Case& c :
       std::vector<Case>{{11, "-3", Quantity::Initial, -3}, {14, "0.5", Quantity::Storage, 0.5}}) {
    ProgramRun run(capacitorVariant());
    run.platform.line(c.input);
    int index = c.index;
    Win_0_MenuEvent(run.ctx, index);
    EXPECT_EQ(fieldOf(run.ctx.params, c.quantity), c.value) << c.index;
  }
  for (const auto& [index, picture] : std::vector<std::pair<int, std::string>>{
           {26, "einschemkond.gif"}, {27, "ausschemkond.gif"}}) {
    ProgramRun run(capacitorVariant());
    run.platform.key(" ");
    int chosen = index;
    Win_0_MenuEvent(run.ctx, chosen);
    EXPECT_FALSE(run.platform.callsStartingWith("put_picture_stretched " + picture).empty());
  }
  ProgramRun run(capacitorVariant());
  int info = 4;
  Win_0_MenuEvent(run.ctx, info);
  expectBox(run, "|Ein Kondensator C wird über einen|");
}

TEST(Win_0_MenuEvent, TheDrawingModeEntriesDrawNothing) {
  for (int index : {18, 19}) {
    ProgramRun run(capacitorVariant());
    int chosen = index;
    Win_0_MenuEvent(run.ctx, chosen);
    const std::vector<std::string> calls = run.platform.takeCalls();
    EXPECT_EQ(calls, Prelude) << index;
    EXPECT_EQ(run.ctx.DrawMode, index == 18 ? "j" : "n");
  }
}

TEST(Win_0_MenuEvent, ACommandChosenWhileAnotherWindowIsTheTargetDrawsOnTheMainWindow) {
  ProgramRun run(coilVariant());
  run.platform.open_window(3, {0, 0, 100, 100});
  run.platform.takeCalls();
  int clear = 20;
  Win_0_MenuEvent(run.ctx, clear);
  EXPECT_EQ(run.platform.outputWindow(), 0);
  EXPECT_EQ(run.platform.callsStartingWith("clear_window 3").size(), 0u);
  EXPECT_EQ(run.platform.callsStartingWith("clear_window 0").size(), 1u);
}

TEST(Win_0_MenuEvent, TheCommandBeyondTheDeepestNestingIsRefusedAndTheWaitingOnesGoOn) {
  ProgramRun run(coilVariant());
  // The dialog of R chosen inside its own input until the depth is reached, then once more;
  // Quit is still taken. Then each dialog, innermost first, gets its line.
  for (int level = 1; level < MaxCommandDepth; ++level) run.platform.menu(12);
  run.platform.menu(12).menu(1);
  for (int level = 1; level < MaxCommandDepth; ++level) run.platform.line("2");
  run.platform.line("3");
  int resistor = 12;
  Win_0_MenuEvent(run.ctx, resistor);

  EXPECT_EQ(run.platform.messageBoxes,
            std::vector<std::string>{"Zu viele Befehle ineinander: erst die offenen beenden."});
  const std::vector<std::string>& calls = run.platform.calls;
  const auto box = std::find(calls.begin(), calls.end(),
                             "message_box Zu viele Befehle ineinander: erst die offenen beenden.");
  ASSERT_NE(box, calls.end());
  // one dialog window opened for each of the commands that ran
  EXPECT_EQ(std::count_if(calls.begin(), box,
                          [](const std::string& c) { return c.rfind("open_window 2 ", 0) == 0; }),
            MaxCommandDepth);
  EXPECT_EQ(run.ctx.QuitMarker, "*");
  EXPECT_EQ(run.ctx.params.R, 3);
  EXPECT_EQ(run.ctx.CommandDepth, 0);
  EXPECT_FALSE(run.platform.windowOpen(2));
  EXPECT_EQ(run.platform.eventsLeft(), 0u);
  EXPECT_FALSE(run.platform.scriptExhausted());
}

}  // namespace
}  // namespace lab
