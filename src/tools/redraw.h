// Drawing modes, the full rebuild of the main window and the restart of the graph.
#pragma once

#include "model/circuit_params.h"

namespace lab {

class Platform;
struct DisplayState;
struct DisplayVariant;
struct ModelState;
struct ToolsState;

void ClearScreen(Platform& platform, ModelState& model, DisplayState& display, CircuitVariant kind,
                 const DisplayVariant& variant);
void RestartGraph(Platform& platform, ModelState& model, DisplayState& display,
                  CircuitVariant kind);
void setDrawModeEmptyWindow(ToolsState& tools);  // "Zeichnen in &leeres Fenster": "j"
void setDrawModeOverwrite(ToolsState& tools);    // "&Grafik überschreiben": "n"

}  // namespace lab
