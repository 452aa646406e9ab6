// The drawing modes, the full rebuild of the main window and the restart of the graph.
#include "tools/redraw.h"

#include "display/circuit_diagram.h"
#include "display/colours.h"
#include "display/display_state.h"
#include "display/graph_panel.h"
#include "display/strip_store.h"
#include "model/model_state.h"
#include "tools/tools_state.h"

namespace lab {

void ClearScreen(Platform& platform, ModelState& model, DisplayState& display, CircuitVariant kind,
                 const DisplayVariant& variant) {
  platform.set_output_window(0);
  // Chosen inside the wrap's prompt the curve clip is still set; the whole window is rebuilt.
  platform.clear_clip();
  platform.clear_window();
  DrawGraphPanel(platform, display, variant);
  DrawCircuit(platform, display.layout, kind, variant);
  RestartGraph(platform, model, display, kind);
}

void RestartGraph(Platform& platform, ModelState& model, DisplayState& display,
                  CircuitVariant kind) {
  restartState(model, kind);
  display.curve.SegmentStarted = false;
  SelectPen(platform, 1);
  RestoreStrips(platform, display.GraphSnapshot, 0, display.layout.SnapshotBottom, 20);
}

void setDrawModeEmptyWindow(ToolsState& tools) {
  tools.DrawMode = "j";
}

void setDrawModeOverwrite(ToolsState& tools) {
  tools.DrawMode = "n";
}

}  // namespace lab
