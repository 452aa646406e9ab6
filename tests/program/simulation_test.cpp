// Switching and time stepping against the recording platform: start-up values, the first steps,
// the closed form over many steps, the record limits, the wrap, the new start and the key wait.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/circuit_params.h"
#include "model/simulation.h"
#include "model_run.h"
#include "shell/menu.h"
#include "tools/curve_plot.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

using test::callsWith;
using test::countCalls;
using test::ModelRun;

constexpr int QuitIndex = 1;

void expectLogEntry(const SampleLog& log, int k, double t, double U, double I, double d) {
  EXPECT_NEAR(log.t[k], t, 1e-12) << "entry " << k;
  EXPECT_NEAR(log.U[k], U, 1e-12) << "entry " << k;
  EXPECT_NEAR(log.I[k], I, 1e-12) << "entry " << k;
  EXPECT_NEAR(log.d[k], d, 1e-12) << "entry " << k;
}

void expectEmptyFrom(const SampleLog& log, int first) {
  for (int k = first; k < SampleLogSize; ++k) {
    EXPECT_EQ(log.t[k], 0) << k;
    EXPECT_EQ(log.U[k], 0) << k;
    EXPECT_EQ(log.I[k], 0) << k;
    EXPECT_EQ(log.d[k], 0) << k;
  }
}

// Runs n steps, each fed by its own key.
void stepWithKey(ModelRun& run, const std::string& key, int n) {
  for (int i = 0; i < n; ++i) {
    run.platform.key(key);
    simulationStep(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant);
  }
}

TEST(StartUpValues, BothVariants) {
  const struct {
    const VariantData& variant;
    double Uo, initial, R, R2, storage, dt, RSum, InvL, InvR, InvRSum, InvC;
  } cases[] = {
      {coilVariant(), 10, 0, 1, 0.5, 1, 0.05, 1.5, 1, 0, 0, 0},
      {capacitorVariant(), 10, 0, 1, 1, 1, 0.05, 0, 0, 1, 0.5, 1},
  };
  for (const auto& c : cases) {
    test::RecordingPlatform platform(800, 600);
    LabContext ctx(platform, c.variant);
    platform.open_main_window();
    initScreenMetrics(ctx.platform, ctx.layout);
    ctx.DrawMode = "n";
    loadCircuitDefaults(ctx, ctx.variant);
    loadOutputDefaults(ctx, ctx.layout);
    const CircuitParams& p = ctx.params;
    EXPECT_EQ(p.Uo, c.Uo);
    EXPECT_EQ(p.Initial, c.initial);
    EXPECT_EQ(p.R, c.R);
    EXPECT_EQ(p.R2, c.R2);
    EXPECT_EQ(p.Storage, c.storage);
    EXPECT_EQ(p.dt, c.dt);
    if (c.variant.kind == CircuitVariant::Coil) {
      EXPECT_EQ(p.RSum, c.RSum);
      EXPECT_EQ(p.InvL, c.InvL);
    } else {
      EXPECT_EQ(p.InvR, c.InvR);
      EXPECT_EQ(p.InvRSum, c.InvRSum);
      EXPECT_EQ(p.InvC, c.InvC);
      EXPECT_EQ(p.RestartVoltage, 0);
    }
    EXPECT_EQ(ctx.sim.t, -0.05);
    EXPECT_EQ(ctx.DrawMode, "j");
    EXPECT_EQ(ctx.ScreenValueFormat, " -###,##");
    EXPECT_EQ(ctx.PrintValueFormat, " -###,##");
    EXPECT_EQ(ctx.layout.SnapshotBottom, 597);
    EXPECT_EQ(ctx.sampleLog.U[0], 0);
    EXPECT_EQ(ctx.SwitchState, 0);
  }
}

TEST(StartUpValues, SnapshotBottomFollowsTheScreen) {
  const struct {
    int width, height, snapshotBottom;
  } cases[] = {
      {1024, 768, 764}, {640, 480, 477}, {320, 200, 199}, {300, 200, 199}, {100, 101, 100}};
  for (const auto& c : cases) {
    test::RecordingPlatform platform(c.width, c.height);
    LabContext ctx(platform, coilVariant());
    platform.open_main_window();
    initScreenMetrics(ctx.platform, ctx.layout);
    loadCircuitDefaults(ctx, ctx.variant);
    loadOutputDefaults(ctx, ctx.layout);
    EXPECT_EQ(ctx.layout.SnapshotBottom, c.snapshotBottom) << c.height;
  }
}

TEST(DerivedValues, FollowTheFieldJustStored) {
  ModelRun coil(coilVariant());
  coil.ctx.params.R = 2;
  recomputeDerived(coil.ctx.params, coil.ctx.variant.kind, Quantity::R);
  EXPECT_EQ(coil.ctx.params.RSum, 2.5);
  EXPECT_EQ(coil.ctx.params.InvL, 1);
  coil.ctx.params.R2 = 4;
  recomputeDerived(coil.ctx.params, coil.ctx.variant.kind, Quantity::R2);
  EXPECT_EQ(coil.ctx.params.RSum, 6);
  coil.ctx.params.Storage = 0.5;
  recomputeDerived(coil.ctx.params, coil.ctx.variant.kind, Quantity::Storage);
  EXPECT_EQ(coil.ctx.params.InvL, 2);
  EXPECT_EQ(coil.ctx.params.RSum, 6);

  ModelRun cap(capacitorVariant());
  cap.ctx.params.R2 = 3;
  recomputeDerived(cap.ctx.params, cap.ctx.variant.kind, Quantity::R2);
  EXPECT_EQ(cap.ctx.params.InvRSum, 0.25);
  EXPECT_EQ(cap.ctx.params.InvR, 1);
  cap.ctx.params.R = 0.25;
  recomputeDerived(cap.ctx.params, cap.ctx.variant.kind, Quantity::R);
  EXPECT_EQ(cap.ctx.params.InvR, 4);
  EXPECT_DOUBLE_EQ(cap.ctx.params.InvRSum, 1 / 3.25);
  cap.ctx.params.Storage = 4;
  recomputeDerived(cap.ctx.params, cap.ctx.variant.kind, Quantity::Storage);
  EXPECT_EQ(cap.ctx.params.InvC, 0.25);
  EXPECT_EQ(cap.ctx.params.InvR, 4);
}

TEST(FirstSteps, CoilSwitchedOnRecordsMinusTenZeroAndAHalf) {
  ModelRun run(coilVariant());
  stepWithKey(run, "1", 1);
  EXPECT_EQ(run.ctx.SwitchState, 2);
  expectLogEntry(run.ctx.sampleLog, 0, 0, -10, 0, 0.5);
  EXPECT_EQ(run.ctx.sim.I, 0.5);
  // The first step of a run draws no segment.
  EXPECT_EQ(countCalls(run.platform.takeCalls(), "set_clip"), 0u);

  stepWithKey(run, "1", 1);
  expectLogEntry(run.ctx.sampleLog, 1, 0.05, -9.5, 0.5, 0.475);
  // At 800 x 600: x 10 -> 11; current 0 -> 0.5 is y 422 -> 417.5 (418); voltage -10 -> -9.5 is
  // y 231 -> 226.5 (226); each segment clipped to its own panel.
  const std::vector<std::string> calls = run.platform.takeCalls();
  const std::vector<std::string> expectedTail = {
      "set_colour 255 255 255", "set_clip 0 285 398 558",  "draw_line 10 422 11 418",
      "set_clip 0 6 398 276",   "draw_line 10 231 11 226", "clear_clip"};
  ASSERT_GE(calls.size(), expectedTail.size());
  EXPECT_EQ(std::vector<std::string>(calls.end() - 6, calls.end()), expectedTail);
}

TEST(FirstSteps, CapacitorSwitchedOnRecordsZeroTenAndAHalf) {
  ModelRun run(capacitorVariant());
  stepWithKey(run, "1", 2);
  expectLogEntry(run.ctx.sampleLog, 0, 0, 0, 10, 0.5);
  expectLogEntry(run.ctx.sampleLog, 1, 0.05, 0.5, 9.5, 0.475);
  EXPECT_DOUBLE_EQ(run.ctx.sim.U, 0.975);
  stepWithKey(run, "0", 1);
  EXPECT_EQ(run.ctx.SwitchState, 1);
  // Switched off the current is minus half the voltage.
  expectLogEntry(run.ctx.sampleLog, 2, 0.1, 0.975, -0.4875, -0.024375);
}

TEST(ManySteps, FortyOnThenFortyOffFollowTheClosedForm) {
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    ModelRun run(*variant);
    const bool coil = variant->kind == CircuitVariant::Coil;
    // Coil: Uo/R (1 - (1 - R dt/L)^k), off by (1 - RSum dt/L); capacitor: Uo (1 - (1 - dt/RC)^k),
    // off by (1 - dt/((R + R2) C)); here R = L = C = 1, RSum = 1.5 (coil) or 2 (capacitor).
    const double onFactor = 1 - 0.05;
    const double offFactor = coil ? 1 - 1.5 * 0.05 : 1 - 0.05 / 2;
    for (int k = 1; k <= 40; ++k) {
      stepWithKey(run, "1", 1);
      const double state = coil ? run.ctx.sim.I : run.ctx.sim.U;
      EXPECT_NEAR(state, 10 * (1 - std::pow(onFactor, k)), 1e-12) << k;
    }
    const double after40 = 10 * (1 - std::pow(onFactor, 40));
    for (int m = 1; m <= 40; ++m) {
      stepWithKey(run, "0", 1);
      const double state = coil ? run.ctx.sim.I : run.ctx.sim.U;
      EXPECT_NEAR(state, after40 * std::pow(offFactor, m), 1e-12) << m;
    }
    EXPECT_EQ(run.ctx.sim.StepCounter, 79);
  }
}

TEST(RecordLimit, LaterStepsAreDrawnButNotRecorded) {
  const struct {
    const VariantData& variant;
    int limit;
  } cases[] = {{coilVariant(), 31}, {capacitorVariant(), 26}};
  for (const auto& c : cases) {
    ModelRun run(c.variant);
    stepWithKey(run, "1", 45);
    for (int k = 0; k < c.limit; ++k) EXPECT_NEAR(run.ctx.sampleLog.t[k], k * 0.05, 1e-12) << k;
    EXPECT_NE(run.ctx.sampleLog.U[c.limit - 1], 0);
    expectEmptyFrom(run.ctx.sampleLog, c.limit);
    // Every step after the first drew its current segment (and its voltage segment).
    EXPECT_EQ(countCalls(run.platform.takeCalls(), "set_clip 0 285 398 558"), 44u);
  }
}

TEST(Wrap, At640WideTheSweepEndsAtTimeFifteenPointFortyFive) {
  ModelRun run(coilVariant(), 640, 480);
  stepWithKey(run, "1", 309);  // times 0 to 15.4: x up to 318, not beyond 318
  EXPECT_NEAR(run.ctx.sim.t, 15.4, 1e-9);
  EXPECT_EQ(run.ctx.curve.x, 318);
  run.platform.takeCalls();

  run.platform.key("1").key("x");  // the step, then the key that answers the prompt
  simulationStep(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant);
  const std::vector<std::string> calls = run.platform.takeCalls();
  // The wrap: both panels put back inside their band, the clip lifted, then the prompt at row 22.
  const auto clips = callsWith(calls, "set_clip");
  ASSERT_EQ(clips.size(), 3u);
  EXPECT_EQ(clips[2], "set_clip 0 4 319 446");
  EXPECT_EQ(countCalls(calls, "put_image"), 20u);
  EXPECT_EQ(callsWith(calls, "put_image").front(), "put_image [0 0 319 23] 0 0");
  std::size_t lastImage = 0, lift = 0, prompt = 0;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].rfind("put_image", 0) == 0) lastImage = i;
    if (calls[i] == "clear_clip") lift = i;
    if (calls[i] == "print_text 0 Weiter ?   <RETURN>") prompt = i;
  }
  EXPECT_LT(lastImage, lift);
  EXPECT_LT(lift, prompt);
  EXPECT_EQ(countCalls(calls, "set_text_position 19 53"), 1u);  // 22 * 2.4 = 52.8
  EXPECT_EQ(run.ctx.sim.t, -0.05);
  EXPECT_EQ(run.ctx.curve.x, 10);
  EXPECT_EQ(run.ctx.curve.prevX, 10);
  EXPECT_FALSE(run.ctx.curve.SegmentStarted);
  EXPECT_EQ(run.ctx.sim.StepCounter, 309);  // not touched by the wrap

  // The next sweep starts at time 0 on the left, without a segment from the old curve.
  const double current = run.ctx.sim.I;
  stepWithKey(run, "1", 1);
  EXPECT_NEAR(run.ctx.sim.t, 0, 1e-15);
  EXPECT_EQ(run.ctx.curve.x, 10);
  EXPECT_EQ(countCalls(run.platform.takeCalls(), "set_clip"), 0u);
  EXPECT_NE(run.ctx.sim.I, current);  // the circuit state went on
}

TEST(Wrap, OverwriteModeKeepsTheCurves) {
  ModelRun run(capacitorVariant(), 640, 480);
  run.ctx.DrawMode = "n";
  stepWithKey(run, "1", 309);
  run.platform.takeCalls();
  run.platform.key("1").key("x");
  simulationStep(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant);
  const std::vector<std::string> calls = run.platform.takeCalls();
  EXPECT_EQ(countCalls(calls, "put_image"), 0u);
  EXPECT_EQ(countCalls(calls, "print_text 0 Weiter ?"), 1u);
  EXPECT_EQ(run.ctx.sim.t, -0.05);
}

TEST(NewStart, ClearsTheRecordAndRestartsTimeCounterAndX) {
  ModelRun run(coilVariant());
  stepWithKey(run, "1", 12);
  const double current = run.ctx.sim.I;
  run.platform.takeCalls();
  newStart(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
  EXPECT_EQ(run.ctx.sim.t, -0.05);
  EXPECT_EQ(run.ctx.sim.StepCounter, -1);
  EXPECT_EQ(run.ctx.curve.x, 10);
  EXPECT_EQ(run.ctx.curve.prevX, 10);
  EXPECT_FALSE(run.ctx.curve.SegmentStarted);
  EXPECT_EQ(run.ctx.sim.I, current);  // the coil keeps its current
  expectEmptyFrom(run.ctx.sampleLog, 0);
  const std::vector<std::string> calls = run.platform.takeCalls();
  ASSERT_EQ(calls.size(), 1u + 1u + 20u + 1u);
  EXPECT_EQ(calls[0], "set_output_window 0");
  EXPECT_EQ(calls[1], "set_clip 0 6 398 597");
  EXPECT_EQ(calls.back(), "clear_clip");

  stepWithKey(run, "1", 1);
  EXPECT_NEAR(run.ctx.sampleLog.t[0], 0, 1e-15);
  EXPECT_EQ(run.ctx.sampleLog.I[0], current);
}

TEST(NewStart, CapacitorChargesFromTheRestartVoltage) {
  const struct {
    int switchState;
    double restartVoltage, Uo, expectedU;
  } cases[] = {
      {0, 0, 10, 0},                     // never operated: no charging current
      {0, 8, 10, 8},   {2, 10, 10, 10},  // on at the battery voltage: no current
      {2, 0, 10, 0.5},                   // 0 + (10 - 0) * 1 * 0.05
      {1, 8, 10, 7.8},                   // 8 + (-8 * 0.5) * 0.05
      {2, 8, -4, 7.4},                   // 8 + (-4 - 8) * 0.05
  };
  for (const auto& c : cases) {
    ModelRun run(capacitorVariant());
    run.ctx.SwitchState = c.switchState;
    run.ctx.params.RestartVoltage = c.restartVoltage;
    run.ctx.params.Uo = c.Uo;
    newStart(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
    EXPECT_DOUBLE_EQ(run.ctx.sim.U, c.expectedU) << c.switchState << " " << c.restartVoltage;
  }
}

TEST(KeyWait, OtherKeysAreDroppedAndOneStepIsMade) {
  ModelRun run(coilVariant());
  run.platform.key("a2\r").key("1").key("1");
  simulationStep(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant);
  EXPECT_EQ(run.ctx.sim.StepCounter, 0);
  EXPECT_EQ(run.ctx.sim.keyText, "1");
  EXPECT_EQ(run.platform.eventsLeft(), 1u);  // exactly one key character per step
}

TEST(KeyWait, QuitEndsTheWaitWithoutAStep) {
  ModelRun run(coilVariant());
  BuildMenu(run.ctx);
  run.platform.takeCalls();
  run.platform.key("a").menu(QuitIndex).key("1");
  simulationStep(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant);
  EXPECT_EQ(run.ctx.QuitMarker, "*");
  EXPECT_EQ(run.ctx.sim.StepCounter, -1);
  EXPECT_EQ(run.ctx.sim.t, -0.05);
  EXPECT_EQ(run.ctx.SwitchState, 0);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);  // the key after the quit was not waited for
  EXPECT_EQ(countCalls(run.platform.takeCalls(), "draw_line"), 0u);  // not even the switch
}

TEST(KeyWait, ClosingTheMainWindowEndsTheWait) {
  ModelRun run(capacitorVariant());
  run.platform.key("b").closeMainWindow();
  simulationStep(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant);
  EXPECT_EQ(run.ctx.sim.StepCounter, -1);
  EXPECT_TRUE(run.ctx.mainWindowGone());
  // With an empty script the wait also ends, as when the window is gone.
  ModelRun idle(coilVariant());
  simulationStep(idle.ctx.platform, idle.ctx, idle.ctx, idle.ctx, idle.ctx.variant);
  EXPECT_EQ(idle.ctx.sim.StepCounter, -1);
}

// Checks every pixel position handed to the drawing and keeps no log of the segments.
class PixelCheckingPlatform : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  void draw_line(double x1, double y1, double x2, double y2) override {
    for (double v : {x1, y1, x2, y2}) {
      if (!(std::isfinite(v) && v >= std::numeric_limits<std::int16_t>::min() &&
            v <= std::numeric_limits<std::int16_t>::max())) {
        ++outOfRange;
      }
    }
    ++lines;
  }
  long lines = 0;
  long outOfRange = 0;
};

TEST(Diverging, HundredThousandStepsRunAndKeepThePixelsWithinSixteenBits) {
  const struct {
    const VariantData& variant;
    double R, R2, storage, dt;
  } cases[] = {{coilVariant(), 4, 0.5, 0.5, 0.99}, {capacitorVariant(), 0.25, 0, 0.5, 0.99}};
  for (const auto& c : cases) {
    PixelCheckingPlatform platform(800, 600);
    LabContext ctx(platform, c.variant);
    platform.open_main_window();
    initScreenMetrics(ctx.platform, ctx.layout);
    loadCircuitDefaults(ctx, ctx.variant);
    loadOutputDefaults(ctx, ctx.layout);
    DrawGraphPanel(ctx.platform, ctx, ctx.variant);
    newStart(ctx.platform, ctx, ctx, ctx.variant.kind);
    for (Quantity q : {Quantity::R, Quantity::R2, Quantity::Storage, Quantity::dt}) {
      fieldOf(ctx.params, q) = q == Quantity::R    ? c.R
                               : q == Quantity::R2 ? c.R2
                               : q == Quantity::dt ? c.dt
                                                   : c.storage;
      recomputeDerived(ctx.params, ctx.variant.kind, q);
    }
    const bool coil = c.variant.kind == CircuitVariant::Coil;
    // The same recurrence kept beside the program: its values are not clamped or mended.
    double state = coil ? ctx.sim.I : ctx.sim.U;
    const double rate = coil ? c.dt * (1 / c.storage) : (1 / c.R) * c.dt * (1 / c.storage);
    int finiteSteps = 0;
    for (int i = 0; i < 100000; ++i) {
      platform.key("1").key("x");  // "x" answers a wrap prompt, or is dropped by the key wait
      simulationStep(ctx.platform, ctx, ctx, ctx, ctx.variant);
      if (coil) {
        state = state + ((-(state * c.R - 10)) * c.dt) * (1 / c.storage);
      } else {
        state = state + (((10 - state) * (1 / c.R)) * c.dt) * (1 / c.storage);
      }
      if (std::isfinite(state)) {
        ++finiteSteps;
        ASSERT_EQ(coil ? ctx.sim.I : ctx.sim.U, state) << i;
      }
      if (i % 1000 == 0) platform.calls.clear();
    }
    EXPECT_GT(finiteSteps, 300);  // about 360 steps until the values overflow
    const double actual = coil ? ctx.sim.I : ctx.sim.U;
    EXPECT_TRUE(std::isnan(actual)) << actual;  // grew without bound until inf - inf
    EXPECT_TRUE(std::isnan(state));
    EXPECT_GT(rate * (coil ? c.R : 1), 2);  // the step is unstable for these values
    EXPECT_EQ(ctx.sim.StepCounter, 99999);
    EXPECT_GT(platform.lines, 150000);
    EXPECT_EQ(platform.outOfRange, 0);
    EXPECT_TRUE(platform.main_window_exists());
  }
}

TEST(Diverging, FirstStepsStayAsComputed) {
  ModelRun run(coilVariant());
  run.ctx.params.R = 4;
  run.ctx.params.Storage = 0.5;
  run.ctx.params.dt = 0.99;
  recomputeDerived(run.ctx.params, run.ctx.variant.kind, Quantity::R);
  recomputeDerived(run.ctx.params, run.ctx.variant.kind, Quantity::Storage);
  stepWithKey(run, "1", 3);
  // I1 = 0 + 10 * 0.99 * 2 = 19.8; I2 = 19.8 + (10 - 79.2) * 1.98 = -117.216
  EXPECT_DOUBLE_EQ(run.ctx.sampleLog.I[1], 19.8);
  EXPECT_DOUBLE_EQ(run.ctx.sampleLog.I[2], -117.216);
  EXPECT_DOUBLE_EQ(run.ctx.sampleLog.U[2], -117.216 * 4 - 10);
}

}  // namespace
}  // namespace lab
