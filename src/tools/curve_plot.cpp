// The key wait with its switch lever, the curve segments of each step with the wrap at the right
// edge, and the new start.
#include "tools/curve_plot.h"

#include <cstdint>
#include <string>

#include "display/circuit_diagram.h"
#include "display/colours.h"
#include "display/display_state.h"
#include "display/graph_panel.h"
#include "display/strip_store.h"
#include "model/model_state.h"
#include "platform/platform.h"
#include "tools/spoken.h"
#include "tools/tools_state.h"
#include "tools/wait_prompt.h"

namespace lab {

namespace {

constexpr std::int16_t SweepStartX = 10;
constexpr std::int16_t WrapPromptRow = 22;
constexpr int SnapshotStrips = 20;

bool isSwitchKey(const std::string& key) {
  return key == "1" || key == "0";
}

}  // namespace

void simulationStep(Platform& platform, ModelState& model, DisplayState& display,
                    const ToolsState& tools, const ModelVariant& variant) {
  platform.yield_once();
  model.sim.keyText = "";
  const int before = model.SwitchState;
  readSwitchKey(platform, model, display.layout, tools, variant.kind);
  // Spoken when the switch changes, not on every step it is held in place.
  if (model.SwitchState != before) {
    platform.announce(model.SwitchState == 2 ? variant.switchOnText : variant.switchOffText);
  }
  if (isSwitchKey(model.sim.keyText)) {
    modelUpdate(model, variant, segmentPlotter(platform, model, display, tools));
  }
}

void readSwitchKey(Platform& platform, ModelState& model, const ScreenLayout& layout,
                   const ToolsState& tools, CircuitVariant kind) {
  SimulationState& sim = model.sim;
  while (true) {
    sim.keyText = platform.read_key();
    if (isSwitchKey(sim.keyText)) break;
    // Other keys are dropped; the quit command and a closed window end the wait without a step.
    if (tools.QuitMarker == "*" || !platform.main_window_exists()) return;
    platform.wait_for_event();
  }
  if (sim.keyText == "1") {
    SwitchTo1(platform, layout, kind, model);
  } else {
    SwitchTo0(platform, layout, kind, model);
  }
}

void plotSegment(Platform& platform, ModelState& model, DisplayState& display,
                 const ToolsState& tools, double t, double U, double I) {
  const ScreenLayout& layout = display.layout;
  CurveState& curve = display.curve;

  platform.set_colour(ColourWhite);
  curve.x = PlotX(layout, t);
  curve.yCurrent = PlotY(layout, I, layout.CurrentZeroY);
  curve.yVoltage = PlotY(layout, U, layout.VoltageZeroY);

  // Each curve is clipped to its own panel, so it never spills into the gap or the other panel.
  if (curve.SegmentStarted) {
    platform.set_clip(0, layout.CurrentPanelTop, layout.GraphRight, layout.CurrentPanelBottom);
    platform.draw_line(curve.prevX, curve.prevYCurrent, curve.x, curve.yCurrent);
    platform.set_clip(0, layout.VoltagePanelTop, layout.GraphRight, layout.VoltagePanelBottom);
    platform.draw_line(curve.prevX, curve.prevYVoltage, curve.x, curve.yVoltage);
  }
  curve.SegmentStarted = true;
  curve.prevX = curve.x;
  curve.prevYCurrent = curve.yCurrent;
  curve.prevYVoltage = curve.yVoltage;

  const bool axisFull = curve.x > 159 * layout.XFactor;
  if (axisFull && tools.DrawMode == "j") {
    platform.set_clip(0, layout.VoltagePanelTop, layout.GraphRight, layout.CurrentPanelBottom);
    RestoreStrips(platform, display.GraphSnapshot, 0, layout.SnapshotBottom, SnapshotStrips);
  }
  // Lifted before the prompt, so that commands chosen during it draw unclipped.
  platform.clear_clip();
  if (axisFull) {
    WaitPrompt(platform, layout, tools, WrapPromptRow,
               sweepEndText(t, U, I, tools.ScreenValueFormat));
    model.sim.t = -model.params.dt;
    curve.x = SweepStartX;
    curve.prevX = SweepStartX;
    curve.SegmentStarted = false;
  }
}

StepHandler segmentPlotter(Platform& platform, ModelState& model, DisplayState& display,
                           const ToolsState& tools) {
  return [&platform, &model, &display, &tools](double t, double U, double I, double) {
    plotSegment(platform, model, display, tools, t, U, I);
  };
}

void newStart(Platform& platform, ModelState& model, DisplayState& display, CircuitVariant kind) {
  newStartState(model, kind);
  display.curve.SegmentStarted = false;
  display.curve.x = SweepStartX;
  display.curve.prevX = SweepStartX;

  // The graph lives in the main window, also when a dialog's window is the output target.
  const ScreenLayout& layout = display.layout;
  platform.set_output_window(0);
  platform.set_clip(0, layout.VoltagePanelTop, layout.GraphRight, layout.SnapshotBottom);
  RestoreStrips(platform, display.GraphSnapshot, 0, layout.SnapshotBottom, SnapshotStrips);
  // A clip left behind would cut off the circuit panel of a later full redraw.
  platform.clear_clip();
}

}  // namespace lab
