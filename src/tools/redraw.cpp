// The drawing modes, the full rebuild of the main window and the restart of the graph.
#include "tools/redraw.h"

#include "display/circuit_diagram.h"
#include "display/colours.h"
#include "display/graph_panel.h"
#include "display/strip_store.h"
#include "lab_context.h"

namespace lab {

void ClearScreen(LabContext& ctx) {
  Platform& platform = ctx.platform;
  platform.set_output_window(0);
  // Chosen inside the wrap's prompt the curve clip is still set; the whole window is rebuilt.
  platform.clear_clip();
  platform.clear_window();
  DrawGraphPanel(ctx);
  DrawCircuit(ctx);
  RestartGraph(ctx);
}

void RestartGraph(LabContext& ctx) {
  SimulationState& sim = ctx.sim;
  sim.t = -ctx.params.dt;  // the next step adds dt and runs at time 0
  switch (ctx.variant.kind) {
    case CircuitVariant::Coil:
      sim.I = ctx.params.Initial;
      sim.U = 0;
      break;
    case CircuitVariant::Capacitor:
      sim.U = ctx.params.Initial;
      sim.I = 0;
      break;
  }
  sim.SegmentStarted = false;
  SelectPen(ctx, 1);
  RestoreStrips(ctx.platform, ctx.GraphSnapshot, 0, ctx.layout.SnapshotBottom, 20);
}

void setDrawModeEmptyWindow(LabContext& ctx) {
  ctx.DrawMode = "j";
}

void setDrawModeOverwrite(LabContext& ctx) {
  ctx.DrawMode = "n";
}

}  // namespace lab
