// The step as the pupil sees it: the key wait with its switch lever, the curve segments of each
// step with the wrap at the right edge, and the new start on the blank graph.
#pragma once

#include "model/circuit_params.h"
#include "model/simulation.h"

namespace lab {

class Platform;
struct DisplayState;
struct ModelState;
struct ModelVariant;
struct ScreenLayout;
struct ToolsState;

// One pass of the main loop: waits for key 1 or 0 and advances the circuit one step, drawn.
void simulationStep(Platform& platform, ModelState& model, DisplayState& display,
                    const ToolsState& tools, const ModelVariant& variant);
// Waits for key 1 or 0 (or the quit marker, or the end of the main window) and sets the switch.
void readSwitchKey(Platform& platform, ModelState& model, const ScreenLayout& layout,
                   const ToolsState& tools, CircuitVariant kind);
// Draws one segment of each curve for a computed step; at the right edge, the continue prompt
// and the wrap to the start of the time axis.
void plotSegment(Platform& platform, ModelState& model, DisplayState& display,
                 const ToolsState& tools, double t, double U, double I);
// plotSegment as the handler modelUpdate calls for each step.
StepHandler segmentPlotter(Platform& platform, ModelState& model, DisplayState& display,
                           const ToolsState& tools);
// "(Neu-)&Start": time, record and graph start from the beginning of a run.
void newStart(Platform& platform, ModelState& model, DisplayState& display, CircuitVariant kind);

}  // namespace lab
