// The parameter dialogs of both programs fed scripted lines: boundaries, refused and unreadable
// input, extra stores, the fitted window, hostile lines and commands nested in the line input.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "model/circuit_params.h"
#include "model_run.h"
#include "shell/menu.h"
#include "tools/curve_plot.h"
#include "tools/parameter_dialogs.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

using test::callsWith;
using test::countCalls;
using test::ModelRun;

const DialogData& dialogOf(const LabContext& ctx, Quantity q) {
  return ctx.variant.dialogs[static_cast<std::size_t>(q)];
}

std::vector<std::string> runDialog(ModelRun& run, Quantity q,
                                   const std::vector<std::string>& lines) {
  for (const auto& line : lines) run.platform.line(line);
  run.platform.takeCalls();
  parameterDialog(run.ctx.platform, run.ctx, run.ctx.layout, run.ctx, run.ctx.variant,
                  run.ctx.variant.kind, q);
  return run.platform.takeCalls();
}

// The prompt lines the dialog printed, each "<prompt>    <present value>".
std::vector<std::string> shownPrompts(const std::vector<std::string>& calls) {
  std::vector<std::string> shown;
  for (const auto& call : callsWith(calls, "print_text 2 ")) shown.push_back(call.substr(13));
  return shown;
}

bool derivedInStep(const LabContext& ctx) {
  const CircuitParams& p = ctx.params;
  if (ctx.variant.kind == CircuitVariant::Coil) {
    return p.RSum == p.R + p.R2 && p.InvL == 1 / p.Storage;
  }
  return p.InvR == 1 / p.R && p.InvRSum == 1 / (p.R + p.R2) && p.InvC == 1 / p.Storage;
}

struct BoundaryCase {
  const VariantData& variant;
  Quantity quantity;
  std::vector<std::string> lines;
  double result;
  std::vector<std::string> shownValues;  // the present value of each prompt, in order
};

TEST(ParameterDialogs, AcceptedAndRefusedBoundaries) {
  const BoundaryCase cases[] = {
      {coilVariant(), Quantity::dt, {"1", "0", "0.99"}, 0.99, {"0.05", "1", "0"}},
      {capacitorVariant(), Quantity::dt, {"1", "-0.1", "0.99"}, 0.99, {"0.05", "1", "-0.1"}},
      {coilVariant(), Quantity::Uo, {"12", "-12", "11.99"}, 11.99, {"10", "12", "-12"}},
      {capacitorVariant(), Quantity::Uo, {"-12", "12", "-11.99"}, -11.99, {"10", "-12", "12"}},
      {coilVariant(), Quantity::Initial, {"12", "-11.99"}, -11.99, {"0", "12"}},
      {capacitorVariant(), Quantity::Initial, {"-12", "11.99"}, 11.99, {"0", "-12"}},
      {coilVariant(), Quantity::R, {"5", "4"}, 4, {"1", "5"}},
      {coilVariant(), Quantity::R, {"0.24", "0.25"}, 0.25, {"1", "0.24"}},
      {capacitorVariant(), Quantity::R, {"4.01", "0.2", "0.25"}, 0.25, {"1", "4.01", "0.2"}},
      {coilVariant(), Quantity::R2, {"0.098", "0.099"}, 0.099, {"0.5", "0.098"}},
      {coilVariant(), Quantity::R2, {"4.001", "4"}, 4, {"0.5", "4.001"}},
      {capacitorVariant(), Quantity::R2, {"0"}, 0, {"1"}},
      {capacitorVariant(), Quantity::R2, {"-0.01", "4"}, 4, {"1", "-0.01"}},
      {coilVariant(), Quantity::Storage, {"0.49", "0,5"}, 0.5, {"1", "0.49"}},
      {capacitorVariant(), Quantity::Storage, {"4.5", "4"}, 4, {"1", "4.5"}},
      // An empty line after a refusal keeps the refused value, which is refused again.
      {coilVariant(), Quantity::R, {"5", "", "2"}, 2, {"1", "5", "5"}},
      // An empty first line keeps the present value.
      {capacitorVariant(), Quantity::dt, {""}, 0.05, {"0.05"}},
      // Blanks alone are not an empty line: refused like any other text.
      {coilVariant(), Quantity::R, {"   ", "3"}, 3, {"1", "1"}},
  };
  for (const auto& c : cases) {
    ModelRun run(c.variant);
    const std::vector<std::string> calls = runDialog(run, c.quantity, c.lines);
    const std::string prompt = dialogOf(run.ctx, c.quantity).prompt;
    EXPECT_EQ(fieldOf(run.ctx.params, c.quantity), c.result) << prompt;
    EXPECT_TRUE(derivedInStep(run.ctx)) << prompt;
    std::vector<std::string> expected;
    for (const auto& value : c.shownValues) expected.push_back(prompt + "    " + value);
    EXPECT_EQ(shownPrompts(calls), expected);
    EXPECT_EQ(countCalls(calls, "read_line 2"), c.lines.size()) << prompt;
    EXPECT_FALSE(run.platform.windowOpen(ParameterWindow));
    EXPECT_EQ(run.platform.eventsLeft(), 0u);
  }
}

// The other tests take the prompts from the program's own table; here they are spelt out, so
// a changed letter or blank in the table is caught.
TEST(ParameterDialogs, ThePromptsAreShownLetterForLetter) {
  const struct {
    const VariantData& variant;
    Quantity quantity;
    std::string shown;  // the prompt, four blanks and the start-up value
  } cases[] = {
      {coilVariant(), Quantity::Uo, "Batteriespannung Uo < 10V >     10"},
      {coilVariant(), Quantity::Initial, "Anfangsstrom I = < 0 A >     0"},
      {coilVariant(), Quantity::R, "Widerstand  R  = < 1 kOhm >    1"},
      {coilVariant(), Quantity::R2, "Widerstand  R2 = < 0,1 ...4 kOhm >    0.5"},
      {coilVariant(), Quantity::Storage, "Induktivität L <0.5 ... 4> mH     1"},
      {coilVariant(), Quantity::dt, "Zeitschritt dt = <0.2 s>    0.05"},
      {capacitorVariant(), Quantity::Uo, "Batteriespannung Uo <10V>     10"},
      {capacitorVariant(), Quantity::Initial, "Anfangsspannung U <0V>     0"},
      {capacitorVariant(), Quantity::R, "Widerstand  R  = < 1 MOhm >    1"},
      {capacitorVariant(), Quantity::R2, "Widerstand  R2 = < 1-4 MOhm >    1"},
      {capacitorVariant(), Quantity::Storage, "Kapazität C <0.5 ... 4> µF     1"},
      {capacitorVariant(), Quantity::dt, "Zeitschritt dt = <0.2 s>    0.05"},
  };
  for (const auto& c : cases) {
    ModelRun run(c.variant);
    EXPECT_EQ(shownPrompts(runDialog(run, c.quantity, {""})), std::vector<std::string>{c.shown});
  }
}

TEST(ParameterDialogs, DerivedValuesFollowTheAcceptedValue) {
  ModelRun coil(coilVariant());
  runDialog(coil, Quantity::R, {"5", "4"});
  EXPECT_EQ(coil.ctx.params.RSum, 4.5);
  runDialog(coil, Quantity::Storage, {"2"});
  EXPECT_EQ(coil.ctx.params.InvL, 0.5);
  EXPECT_EQ(coil.ctx.params.RSum, 4.5);

  ModelRun cap(capacitorVariant());
  runDialog(cap, Quantity::R, {"2"});
  EXPECT_EQ(cap.ctx.params.InvR, 0.5);
  EXPECT_DOUBLE_EQ(cap.ctx.params.InvRSum, 1.0 / 3);
  runDialog(cap, Quantity::R2, {"0"});
  EXPECT_EQ(cap.ctx.params.InvRSum, 0.5);
  EXPECT_EQ(cap.ctx.params.InvR, 0.5);
  runDialog(cap, Quantity::Storage, {"4"});
  EXPECT_EQ(cap.ctx.params.InvC, 0.25);
}

TEST(ParameterDialogs, UnreadableLinesAreRefusedAndShowThePresentValueAgain) {
  const char* garbage[] = {"abc", "1.5x",  "0x10",   "nan", "inf", "-inf",   "1e999",
                           "1 2", "0,5,5", "1e-999", "--1", ".",   "\x1b[A", "zwölf"};
  for (const char* line : garbage) {
    // The range of R2 in the capacitor program holds 0: garbage must not become 0.
    ModelRun run(capacitorVariant());
    const std::vector<std::string> calls = runDialog(run, Quantity::R2, {line, ""});
    EXPECT_EQ(run.ctx.params.R2, 1) << line;
    const std::string prompt = dialogOf(run.ctx, Quantity::R2).prompt;
    EXPECT_EQ(shownPrompts(calls), (std::vector<std::string>{prompt + "    1", prompt + "    1"}))
        << line;
  }
  // After a refused value the present value shown is that refused value.
  ModelRun run(coilVariant());
  const std::vector<std::string> calls = runDialog(run, Quantity::R, {"5", "abc", "", "3"});
  EXPECT_EQ(run.ctx.params.R, 3);
  const std::string prompt = dialogOf(run.ctx, Quantity::R).prompt;
  EXPECT_EQ(shownPrompts(calls), (std::vector<std::string>{prompt + "    1", prompt + "    5",
                                                           prompt + "    5", prompt + "    5"}));
}

TEST(ParameterDialogs, CommaAndBlanksAreRead) {
  const struct {
    const char* line;
    double value;
  } cases[] = {{"0,5", 0.5}, {" 2.5 ", 2.5}, {"\t3,25\t", 3.25}, {"+1", 1}, {"4e0", 4}};
  for (const auto& c : cases) {
    ModelRun run(coilVariant());
    runDialog(run, Quantity::Storage, {c.line});
    EXPECT_EQ(run.ctx.params.Storage, c.value) << c.line;
  }
}

TEST(ParameterDialogs, ExtraStores) {
  {
    // Coil initial current: the coil current and entry 0 of column I, also on an empty line.
    ModelRun run(coilVariant());
    run.ctx.sim.I = 3;
    run.ctx.sampleLog.I[0] = 7;
    runDialog(run, Quantity::Initial, {""});
    EXPECT_EQ(run.ctx.sim.I, 0);
    EXPECT_EQ(run.ctx.sampleLog.I[0], 0);
    runDialog(run, Quantity::Initial, {"13", "2.5"});
    EXPECT_EQ(run.ctx.params.Initial, 2.5);
    EXPECT_EQ(run.ctx.sim.I, 2.5);
    EXPECT_EQ(run.ctx.sampleLog.I[0], 2.5);
    EXPECT_EQ(run.ctx.sampleLog.U[0], 0);
  }
  {
    // Capacitor initial voltage: entry 0 of column U only; the capacitor voltage stays.
    ModelRun run(capacitorVariant());
    run.ctx.sim.U = 4;
    runDialog(run, Quantity::Initial, {"3"});
    EXPECT_EQ(run.ctx.params.Initial, 3);
    EXPECT_EQ(run.ctx.sampleLog.U[0], 3);
    EXPECT_EQ(run.ctx.sim.U, 4);
  }
  {
    // Capacitor battery: the restart voltage too, which the next new start charges to.
    ModelRun run(capacitorVariant());
    runDialog(run, Quantity::Uo, {"8"});
    EXPECT_EQ(run.ctx.params.Uo, 8);
    EXPECT_EQ(run.ctx.params.RestartVoltage, 8);
    run.ctx.SwitchState = 2;
    newStart(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
    EXPECT_EQ(run.ctx.sim.U, 8);
  }
  {
    ModelRun run(coilVariant());
    runDialog(run, Quantity::Uo, {"8"});
    EXPECT_EQ(run.ctx.params.RestartVoltage, 0);
  }
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    // The step width restarts the record count; nothing else of the run changes.
    ModelRun run(*variant);
    run.ctx.sim.StepCounter = 17;
    run.ctx.sim.t = 1.25;
    const std::vector<std::string> calls = runDialog(run, Quantity::dt, {"0.1"});
    EXPECT_EQ(run.ctx.sim.StepCounter, 0);
    EXPECT_EQ(run.ctx.sim.t, 1.25);
    EXPECT_EQ(countCalls(calls, "put_image"), 0u);
    EXPECT_EQ(countCalls(calls, "draw_line"), 0u);
  }
}

TEST(ParameterDialogs, WindowAndFontAreFittedToTheLongestPromptLine) {
  const struct {
    const VariantData& variant;
    int width, height;
    std::string geometry;
    double maxSize;
    int textY;
    double closeSize;
  } cases[] = {
      {coilVariant(), 800, 600, "25 45 750 90", 30, 6, 12},
      {capacitorVariant(), 800, 600, "25 45 750 90", 30, 3, 12},
      {coilVariant(), 1024, 768, "32 57 960 115", 38.4, 8, 15.36},
      {capacitorVariant(), 1024, 768, "32 57 960 115", 38.4, 4, 15.36},
      {coilVariant(), 640, 480, "20 36 600 72", 24, 5, 9.6},
      {capacitorVariant(), 640, 480, "20 36 600 72", 24, 2, 9.6},
  };
  for (const auto& c : cases) {
    ModelRun run(c.variant, c.width, c.height);
    const std::vector<std::string> calls = runDialog(run, Quantity::R, {"2"});
    ASSERT_EQ(callsWith(calls, "open_window").size(), 1u);
    EXPECT_EQ(callsWith(calls, "open_window")[0], "open_window 2 " + c.geometry);
    EXPECT_EQ(countCalls(calls, "set_window_background 2 255 0 255"), 1u);
    const int windowWidth = std::stoi(c.geometry.substr(c.geometry.find(' ', 3) + 1));

    // The test platform's characters are half the font size wide: the widest prompt line
    // (prompt, four blanks, fourteen characters) fills the window less the text x and 8 px.
    std::size_t longest = 0;
    for (const DialogData& d : c.variant.dialogs) {
      std::size_t characters = 0;
      for (unsigned char ch : d.prompt) characters += (ch & 0xC0) != 0x80;
      longest = std::max(longest, characters);
    }
    const double fitted = std::min(c.maxSize, 2.0 * (windowWidth - 2 - 8) / (longest + 18));
    std::string lastSize;
    for (const auto& call : calls) {
      if (call.rfind("set_font_size", 0) == 0) lastSize = call;
      if (call.rfind("print_text 2", 0) == 0) break;
    }
    EXPECT_NEAR(std::stod(lastSize.substr(14)), fitted, 1e-6) << c.width;
    EXPECT_LE((longest + 18) * std::stod(lastSize.substr(14)) / 2, windowWidth - 10 + 1e-6);

    const std::string shown = dialogOf(run.ctx, Quantity::R).prompt + "    1";
    const auto positions = callsWith(calls, "set_text_position");
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[0], "set_text_position 2 " + std::to_string(c.textY));
    const int fieldX = static_cast<int>(std::ceil(2 + (shown.size() + 1) * fitted / 2 - 1e-9));
    EXPECT_EQ(positions[1],
              "set_text_position " + std::to_string(fieldX) + " " + std::to_string(c.textY));
    EXPECT_EQ(countCalls(calls, "set_colour 0 0 0"), 1u);
    EXPECT_EQ(countCalls(calls, "set_back_colour 255 0 255"), 1u);

    // Closing returns to the main window with its font size and does not clear it.
    const std::vector<std::string> tail(calls.end() - 3, calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"close_window 2", "set_output_window 0",
                                              "set_font_size " + test::num(c.closeSize)}));
    EXPECT_EQ(countCalls(calls, "clear_window 0"), 0u);
  }
}

TEST(ParameterDialogs, AWindowTooLowForTheLineIsOpenedAgainTaller) {
  ModelRun run(coilVariant(), 1920, 200);
  const std::vector<std::string> calls = runDialog(run, Quantity::Uo, {"5"});
  const auto opened = callsWith(calls, "open_window");
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], "open_window 2 60 15 1800 30");
  // Font 2 * 1790 / 52; line 1.2 sizes high below the text y of 2, and 8 px of margin.
  const double size = 2.0 * 1790 / 52;
  const int height = static_cast<int>(std::ceil(2 + 1.2 * size + 8));
  EXPECT_EQ(opened[1], "open_window 2 60 15 1800 " + std::to_string(height));
  EXPECT_EQ(countCalls(calls, "set_window_background 2"), 2u);
  EXPECT_EQ(run.ctx.params.Uo, 5);
}

TEST(ParameterDialogs, ARefusedWindowBackgroundStopsTheProgram) {
  ModelRun run(coilVariant());
  run.platform.refuseWindowBackground = true;
  run.platform.line("2");
  EXPECT_THROW(resistorRDialog(run.ctx.platform, run.ctx, run.ctx.layout, run.ctx, run.ctx.variant,
                               run.ctx.variant.kind),
               test::RuntimeStop);
  EXPECT_EQ(run.ctx.params.R, 1);
}

TEST(ParameterDialogs, TheSixCommandsOpenTheirOwnDialog) {
  using Command = void (*)(Platform&, ModelState&, const ScreenLayout&, ToolsState&,
                           const ToolsVariant&, CircuitVariant);
  const struct {
    Command command;
    Quantity quantity;
  } cases[] = {{batteryVoltageDialog, Quantity::Uo}, {initialValueDialog, Quantity::Initial},
               {resistorRDialog, Quantity::R},       {resistorR2Dialog, Quantity::R2},
               {storageDialog, Quantity::Storage},   {timeStepDialog, Quantity::dt}};
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    for (const auto& c : cases) {
      ModelRun run(*variant);
      run.platform.line("0.75");
      run.platform.takeCalls();
      c.command(run.ctx.platform, run.ctx, run.ctx.layout, run.ctx, run.ctx.variant,
                run.ctx.variant.kind);
      const std::string prompt = dialogOf(run.ctx, c.quantity).prompt;
      EXPECT_EQ(shownPrompts(run.platform.takeCalls()).front().substr(0, prompt.size()), prompt);
      EXPECT_EQ(fieldOf(run.ctx.params, c.quantity), 0.75) << prompt;
    }
  }
}

std::string hostileLine(std::mt19937& random) {
  static const char* const interesting[] = {
      "",       "nan",  "inf",   "-inf",  "1e999",     "1e308", "-1e308",    "9e307",
      "1e-320", "0,5",  "0.099", "0.098", "4",         "12",    "-12",       "11.99",
      "0",      "0.99", "1",     " 2.5 ", "4.0000001", "-0",    "0.2500000", "1e-999"};
  std::uniform_int_distribution<int> kind(0, 5);
  std::uniform_int_distribution<int> byte(0, 255);
  switch (kind(random)) {
    case 0:
    case 1:
      return interesting[std::uniform_int_distribution<std::size_t>(
          0, std::size(interesting) - 1)(random)];
    case 2: {
      std::string line;  // raw bytes: control characters, broken UTF-8, umlauts
      const int n = std::uniform_int_distribution<int>(0, 30)(random);
      for (int i = 0; i < n; ++i) line += static_cast<char>(byte(random));
      return line + "ä";
    }
    case 3:
      return std::string(std::uniform_int_distribution<int>(1, 5000)(random), '9') + ",5";
    case 4:
      return "1e" + std::to_string(std::uniform_int_distribution<int>(-400, 400)(random));
    default: {
      std::string line;  // characters a number is made of, in any order
      const std::string alphabet = "0123456789.,+-eE ";
      const int n = std::uniform_int_distribution<int>(1, 12)(random);
      for (int i = 0; i < n; ++i) {
        line +=
            alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
      }
      return line;
    }
  }
}

TEST(ParameterDialogs, HostileLinesLeaveEveryValueFiniteAndInRange) {
  std::mt19937 random(2026);
  int accepted = 0;
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    for (const DialogData& dialog : variant->dialogs) {
      ModelRun run(*variant);
      for (int round = 0; round < 150; ++round) {
        run.platform.open_main_window();  // the end of the script closed it
        const double before = fieldOf(run.ctx.params, dialog.quantity);
        const int lines = std::uniform_int_distribution<int>(1, 6)(random);
        for (int i = 0; i < lines; ++i) run.platform.line(hostileLine(random));
        parameterDialog(run.ctx.platform, run.ctx, run.ctx.layout, run.ctx, run.ctx.variant,
                        run.ctx.variant.kind, dialog.quantity);
        run.platform.calls.clear();
        const double after = fieldOf(run.ctx.params, dialog.quantity);
        ASSERT_TRUE(std::isfinite(after)) << dialog.prompt;
        const bool inRange = (dialog.includeLow ? after >= dialog.low : after > dialog.low) &&
                             (dialog.includeHigh ? after <= dialog.high : after < dialog.high);
        EXPECT_TRUE(inRange) << dialog.prompt << " " << after;
        if (after != before) ++accepted;
        EXPECT_TRUE(derivedInStep(run.ctx)) << dialog.prompt;
        EXPECT_TRUE(std::isfinite(run.ctx.sim.I) && std::isfinite(run.ctx.sampleLog.U[0]));
        EXPECT_FALSE(run.platform.windowOpen(ParameterWindow));
      }
    }
  }
  EXPECT_GT(accepted, 100);  // the lines do get values through, so the checks above bite
}

// Commands chosen from the menu while the dialog of R waits for its line.
class NestedCommand : public ::testing::Test {
 protected:
  NestedCommand() : run(coilVariant()) { BuildMenu(run.ctx); }
  std::vector<std::string> runResistorDialog() {
    run.platform.takeCalls();
    resistorRDialog(run.ctx.platform, run.ctx, run.ctx.layout, run.ctx, run.ctx.variant,
                    run.ctx.variant.kind);
    return run.platform.takeCalls();
  }
  ModelRun run;
};

TEST_F(NestedCommand, AnotherDialog) {
  run.platform.menu(13).line("2").line("3");  // "Widerstand &R2", its line, then the line for R
  const std::vector<std::string> calls = runResistorDialog();
  EXPECT_EQ(run.ctx.params.R2, 2);
  EXPECT_EQ(run.ctx.params.R, 3);
  EXPECT_EQ(run.ctx.params.RSum, 5);
  // The waiting dialog opened its window again and showed its prompt again.
  EXPECT_EQ(countCalls(calls, "open_window 2"), 3u);
  const std::string promptR = dialogOf(run.ctx, Quantity::R).prompt;
  const std::string promptR2 = dialogOf(run.ctx, Quantity::R2).prompt;
  EXPECT_EQ(shownPrompts(calls),
            (std::vector<std::string>{promptR + "    1", promptR2 + "    0.5", promptR + "    1"}));
  EXPECT_FALSE(run.platform.windowOpen(ParameterWindow));
  EXPECT_EQ(run.platform.outputWindow(), 0);
}

TEST_F(NestedCommand, ValueSummary) {
  run.platform.menu(8).line("3");
  run.ctx.sim.t = 2;
  const std::vector<std::string> calls = runResistorDialog();
  EXPECT_EQ(run.ctx.params.R, 3);
  ASSERT_EQ(run.platform.messageBoxes.size(), 1u);
  EXPECT_NE(run.platform.messageBoxes[0].find("Widerstand   R  = 1 kOhm |"), std::string::npos);
  EXPECT_EQ(run.ctx.sim.t, -0.05);  // the summary restarted the run
  // The blank graph went back into the main window, not into the dialog window.
  int output = -1;
  for (const auto& call : calls) {
    if (call.rfind("set_output_window ", 0) == 0) output = std::stoi(call.substr(18));
    if (call.rfind("put_image", 0) == 0) {
      EXPECT_EQ(output, 0);
    }
  }
  EXPECT_EQ(countCalls(calls, "put_image"), 20u);
  EXPECT_EQ(countCalls(calls, "open_window 2"), 1u);
}

TEST_F(NestedCommand, NewStart) {
  run.ctx.sampleLog.U[3] = 5;
  run.ctx.sim.StepCounter = 9;
  run.platform.menu(3).line("3");
  runResistorDialog();
  EXPECT_EQ(run.ctx.params.R, 3);
  EXPECT_EQ(run.ctx.sim.StepCounter, -1);
  EXPECT_EQ(run.ctx.sampleLog.U[3], 0);
}

TEST_F(NestedCommand, ClearingTheScreen) {
  run.platform.menu(20).line("3");
  const std::vector<std::string> calls = runResistorDialog();
  EXPECT_EQ(run.ctx.params.R, 3);
  EXPECT_EQ(countCalls(calls, "clear_window 0"), 1u);
  EXPECT_FALSE(run.platform.windowOpen(ParameterWindow));
}

TEST_F(NestedCommand, TableOfValues) {
  run.platform.menu(23).key("x").line("3");  // the key answers the table's prompt
  const std::vector<std::string> calls = runResistorDialog();
  EXPECT_EQ(run.ctx.params.R, 3);
  EXPECT_EQ(countCalls(calls, "close_window 3"), 1u);
  EXPECT_FALSE(run.platform.windowOpen(ParameterWindow));
}

TEST_F(NestedCommand, Quit) {
  run.platform.menu(1).line("3");
  runResistorDialog();
  EXPECT_EQ(run.ctx.QuitMarker, "*");
  EXPECT_EQ(run.ctx.params.R, 3);
}

TEST_F(NestedCommand, ClosingTheMainWindowEndsTheDialogWithoutStoring) {
  run.platform.line("5").closeMainWindow().line("3");
  runResistorDialog();
  EXPECT_EQ(run.ctx.params.R, 1);  // neither the refused 5 nor anything later
  EXPECT_EQ(run.ctx.params.RSum, 1.5);
  EXPECT_FALSE(run.platform.windowOpen(ParameterWindow));
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
}

TEST_F(NestedCommand, ClosingTheMainWindowInsideANestedDialogEndsBoth) {
  run.platform.menu(13).closeMainWindow().line("3");
  runResistorDialog();
  EXPECT_EQ(run.ctx.params.R, 1);
  EXPECT_EQ(run.ctx.params.R2, 0.5);
  EXPECT_FALSE(run.platform.windowOpen(ParameterWindow));
}

}  // namespace
}  // namespace lab
