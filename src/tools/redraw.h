// Drawing modes, the full rebuild of the main window and the restart of the graph.
#pragma once

namespace lab {

struct LabContext;

void ClearScreen(LabContext& ctx);
void RestartGraph(LabContext& ctx);
void setDrawModeEmptyWindow(LabContext& ctx);  // "Zeichnen in &leeres Fenster": "j"
void setDrawModeOverwrite(LabContext& ctx);    // "&Grafik überschreiben": "n"

}  // namespace lab
