// "W&erte zeigen": the summary texts of both programs character for character, the coil's
// rounding to three decimals, and the restart of the run after the box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/value_summary.h"
#include "model_run.h"
#include "shell/messages.h"
#include "tools/curve_plot.h"
#include "tools/value_summary_box.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

using test::countCalls;
using test::ModelRun;

TEST(ValueSummary, StartUpTexts) {
  ModelRun coil(coilVariant());
  EXPECT_EQ(valueSummaryText(coil.ctx.params, coil.ctx.variant),
            "    PARAMETER   ||"
            "Batteriespg. Uo = 10 V |"
            "Anfangsstrom Spule I = 0 A |"
            "Induktivität L  = 1mH |"
            "Widerstand   R  = 1 kOhm |"
            "Widerstand   R2 = 0.5 kOhm |"
            "Zeitschritt  dt = 0.05 s |");
  ModelRun cap(capacitorVariant());
  EXPECT_EQ(valueSummaryText(cap.ctx.params, cap.ctx.variant),
            "Batteriespannung Uo = 10 V|"
            "Anfangsspannung/Kondensator U = 0 V|"
            "Kapazität C = 1µF|"
            "Widerstand R = 1 MOhm|"
            "Widerstand R2 = 1 MOhm|"
            "Zeitschritt dt = 0.05 s|");
}

TEST(ValueSummary, TextsAfterChanges) {
  ModelRun coil(coilVariant());
  CircuitParams& p = coil.ctx.params;
  p.Uo = -3.3;
  p.Initial = 0.0005;
  p.Storage = 2.5;
  p.R = 0.25;
  p.R2 = 0.099;
  p.dt = 0.123456;
  coil.ctx.sim.I = 7;  // the present coil current is not what the summary shows
  EXPECT_EQ(valueSummaryText(coil.ctx.params, coil.ctx.variant),
            "    PARAMETER   ||"
            "Batteriespg. Uo = -3.3 V |"
            "Anfangsstrom Spule I = 0.001 A |"
            "Induktivität L  = 2.5mH |"
            "Widerstand   R  = 0.25 kOhm |"
            "Widerstand   R2 = 0.099 kOhm |"
            "Zeitschritt  dt = 0.123 s |");

  ModelRun cap(capacitorVariant());
  CircuitParams& q = cap.ctx.params;
  q.Uo = 11.99;
  q.Initial = -0.0005;
  q.Storage = 0.5;
  q.R = 3.75;
  q.R2 = 0;
  q.dt = 0.123456;
  EXPECT_EQ(valueSummaryText(cap.ctx.params, cap.ctx.variant),
            "Batteriespannung Uo = 11.99 V|"
            "Anfangsspannung/Kondensator U = -0.0005 V|"
            "Kapazität C = 0.5µF|"
            "Widerstand R = 3.75 MOhm|"
            "Widerstand R2 = 0 MOhm|"
            "Zeitschritt dt = 0.123456 s|");
}

TEST(ValueSummary, CoilRoundsToThreeDecimalsHalvesUpward) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0.0005, "0.001"}, {0.0004, "0"},        {-0.0004, "0"},   {-0.0006, "-0.001"},
               {11.99, "11.99"},  {-11.998, "-11.998"}, {1.005, "1.005"}, {2.0004, "2"},
               {0.1239, "0.124"}, {-0.0015, "-0.001"}};  // -1.5 + 0.5 is -1
  for (const auto& c : cases) {
    ModelRun run(coilVariant());
    run.ctx.params.Initial = c.value;
    const std::string text = valueSummaryText(run.ctx.params, run.ctx.variant);
    const std::string expected = std::string("Anfangsstrom Spule I = ") + c.text + " A |";
    EXPECT_NE(text.find(expected), std::string::npos) << c.value << ": " << text;
  }
}

TEST(ValueSummary, TheBoxThenRestartsTheRunOnTheBlankGraph) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    ModelRun run(*variant);
    run.ctx.params.Initial = 2;
    run.ctx.sim.t = 3.5;
    run.ctx.sim.I = 6;
    run.ctx.sim.U = 4;
    run.ctx.curve.SegmentStarted = true;
    run.ctx.sim.StepCounter = 12;
    run.platform.set_output_window(2);  // as when chosen inside a dialog's line input
    run.platform.takeCalls();
    showValueSummary(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant,
                     messageShower(run.ctx.platform, run.ctx));
    ASSERT_EQ(run.platform.messageBoxes.size(), 1u);
    EXPECT_EQ(run.platform.messageBoxes[0], valueSummaryText(run.ctx.params, run.ctx.variant));
    EXPECT_EQ(run.ctx.MessageText, run.platform.messageBoxes[0]);
    EXPECT_EQ(run.ctx.sim.t, -0.05);
    EXPECT_FALSE(run.ctx.curve.SegmentStarted);
    EXPECT_EQ(run.ctx.sim.StepCounter, 12);
    if (variant->kind == CircuitVariant::Coil) {
      EXPECT_EQ(run.ctx.sim.I, 2);
      EXPECT_EQ(run.ctx.sim.U, 0);
    } else {
      EXPECT_EQ(run.ctx.sim.U, 2);
      EXPECT_EQ(run.ctx.sim.I, 0);
    }
    const std::vector<std::string> calls = run.platform.takeCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].rfind("message_box ", 0), 0u);
    EXPECT_EQ(calls[1], "set_output_window 0");
    EXPECT_EQ(countCalls(calls, "put_image"), 20u);

    // The next step runs at time 0 from the initial value.
    run.platform.key("1");
    simulationStep(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant);
    EXPECT_NEAR(run.ctx.sim.t, 0, 1e-15);
    EXPECT_EQ(
        variant->kind == CircuitVariant::Coil ? run.ctx.sampleLog.I[13] : run.ctx.sampleLog.U[13],
        2);
  }
}

TEST(ValueSummary, ClosingTheMainWindowWhileTheBoxShowsDrawsNothingMore) {
  ModelRun run(coilVariant());
  run.platform.closeMainWindow();
  showValueSummary(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant,
                   messageShower(run.ctx.platform, run.ctx));
  const std::vector<std::string> calls = run.platform.takeCalls();
  EXPECT_EQ(countCalls(calls, "message_box"), 1u);
  EXPECT_EQ(countCalls(calls, "put_image"), 0u);
}

}  // namespace
}  // namespace lab
