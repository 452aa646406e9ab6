// Switching and time stepping: the key wait, the Euler step of each circuit, the record of a
// run, the curve segments with the wrap at the right edge, and the new start.
#include "model/simulation.h"

#include <limits>

#include "display/circuit_diagram.h"
#include "display/colours.h"
#include "display/graph_panel.h"
#include "display/strip_store.h"
#include "lab_context.h"
#include "shell/wait_prompt.h"

namespace lab {

namespace {

constexpr std::int16_t SweepStartX = 10;
constexpr std::int16_t WrapPromptRow = 22;
constexpr int SnapshotStrips = 20;

bool isSwitchKey(const std::string& key) {
  return key == "1" || key == "0";
}

}  // namespace

StepValues coilStep(const CircuitParams& p, int switchState, double I, double previousU) {
  StepValues step;
  step.I = I;
  step.U = previousU;
  if (switchState == 2) step.U = I * p.R - p.Uo;
  if (switchState == 1) step.U = I * p.RSum;
  step.increment = ((-step.U) * p.dt) * p.InvL;
  return step;
}

StepValues capacitorStep(const CircuitParams& p, int switchState, double U, double previousI) {
  StepValues step;
  step.U = U;
  step.I = previousI;
  if (switchState == 2) step.I = (p.Uo - U) * p.InvR;
  if (switchState == 1) step.I = (-U) * p.InvRSum;
  step.increment = (step.I * p.dt) * p.InvC;
  return step;
}

void simulationStep(LabContext& ctx) {
  ctx.platform.yield_once();
  ctx.sim.keyText = "";
  readSwitchKey(ctx);
  if (isSwitchKey(ctx.sim.keyText)) modelUpdate(ctx);
}

void readSwitchKey(LabContext& ctx) {
  SimulationState& sim = ctx.sim;
  while (true) {
    sim.keyText = ctx.platform.read_key();
    if (isSwitchKey(sim.keyText)) break;
    // Other keys are dropped; the quit command and a closed window end the wait without a step.
    if (ctx.QuitMarker == "*" || ctx.mainWindowGone()) return;
    ctx.platform.wait_for_event();
  }
  if (sim.keyText == "1") {
    SwitchTo1(ctx);
  } else {
    SwitchTo0(ctx);
  }
}

void modelUpdate(LabContext& ctx) {
  SimulationState& sim = ctx.sim;
  sim.t = sim.t + ctx.params.dt;
  switch (ctx.variant.kind) {
    case CircuitVariant::Coil: {
      const StepValues step = coilStep(ctx.params, ctx.SwitchState, sim.I, sim.U);
      sim.U = step.U;
      sim.increment = step.increment;
      plotAndRecord(ctx, sim.t, step.U, step.I, step.increment);
      sim.I = sim.I + step.increment;
      break;
    }
    case CircuitVariant::Capacitor: {
      const StepValues step = capacitorStep(ctx.params, ctx.SwitchState, sim.U, sim.I);
      sim.I = step.I;
      sim.increment = step.increment;
      plotAndRecord(ctx, sim.t, step.U, step.I, step.increment);
      sim.U = sim.U + step.increment;
      break;
    }
  }
}

void plotAndRecord(LabContext& ctx, double t, double U, double I, double increment) {
  Platform& platform = ctx.platform;
  const ScreenLayout& layout = ctx.layout;
  SimulationState& sim = ctx.sim;

  platform.set_colour(ColourWhite);
  // Counting stops at the top of its range instead of overflowing after years of key presses.
  if (sim.StepCounter < std::numeric_limits<std::int32_t>::max()) ++sim.StepCounter;
  sim.x = PlotX(layout, t);
  sim.yCurrent = PlotY(layout, I, layout.CurrentZeroY);
  sim.yVoltage = PlotY(layout, U, layout.VoltageZeroY);

  const std::int32_t k = sim.StepCounter;
  if (k >= 0 && k < ctx.variant.recordLimit && k < SampleLogSize) {
    ctx.sampleLog.t[k] = t;
    ctx.sampleLog.U[k] = U;
    ctx.sampleLog.I[k] = I;
    ctx.sampleLog.d[k] = increment;
  }

  // Each curve is clipped to its own panel, so it never spills into the gap or the other panel.
  if (sim.SegmentStarted) {
    platform.set_clip(0, layout.CurrentPanelTop, layout.GraphRight, layout.CurrentPanelBottom);
    platform.draw_line(sim.prevX, sim.prevYCurrent, sim.x, sim.yCurrent);
    platform.set_clip(0, layout.VoltagePanelTop, layout.GraphRight, layout.VoltagePanelBottom);
    platform.draw_line(sim.prevX, sim.prevYVoltage, sim.x, sim.yVoltage);
  }
  sim.SegmentStarted = true;
  sim.prevX = sim.x;
  sim.prevYCurrent = sim.yCurrent;
  sim.prevYVoltage = sim.yVoltage;

  const bool axisFull = sim.x > 159 * layout.XFactor;
  if (axisFull && ctx.DrawMode == "j") {
    platform.set_clip(0, layout.VoltagePanelTop, layout.GraphRight, layout.CurrentPanelBottom);
    RestoreStrips(platform, ctx.GraphSnapshot, 0, layout.SnapshotBottom, SnapshotStrips);
  }
  // Lifted before the prompt, so that commands chosen during it draw unclipped.
  platform.clear_clip();
  if (axisFull) {
    WaitPrompt(ctx, WrapPromptRow);
    sim.t = -ctx.params.dt;
    sim.x = SweepStartX;
    sim.prevX = SweepStartX;
    sim.SegmentStarted = false;
  }
}

void newStart(LabContext& ctx) {
  SimulationState& sim = ctx.sim;
  const CircuitParams& p = ctx.params;
  sim.t = -p.dt;
  sim.StepCounter = -1;
  sim.SegmentStarted = false;
  sim.x = SweepStartX;
  sim.prevX = SweepStartX;
  ctx.sampleLog = SampleLog{};

  if (ctx.variant.kind == CircuitVariant::Capacitor) {
    const double Ur = p.RestartVoltage;
    double Ir = 0;
    if (ctx.SwitchState == 2) Ir = (p.Uo - Ur) * p.InvR;
    if (ctx.SwitchState == 1) Ir = (-Ur) * p.InvRSum;
    sim.U = Ur + (Ir * p.dt) * p.InvC;
  }

  // The graph lives in the main window, also when a dialog's window is the output target.
  Platform& platform = ctx.platform;
  const ScreenLayout& layout = ctx.layout;
  platform.set_output_window(0);
  platform.set_clip(0, layout.VoltagePanelTop, layout.GraphRight, layout.SnapshotBottom);
  RestoreStrips(platform, ctx.GraphSnapshot, 0, layout.SnapshotBottom, SnapshotStrips);
  // A clip left behind would cut off the circuit panel of a later full redraw.
  platform.clear_clip();
}

}  // namespace lab
