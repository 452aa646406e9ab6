// The main procedure of both programs: start-up in its fixed order, main loop and shut-down.
#include "shell/main_procedure.h"

#include "display/circuit_diagram.h"
#include "display/colours.h"
#include "display/graph_panel.h"
#include "display/screen_layout.h"
#include "shell/lab_context.h"
#include "shell/menu.h"
#include "shell/messages.h"
#include "shell/title_screen.h"
#include "tools/curve_plot.h"
#include "tools/redraw.h"

namespace lab {

void StartupSequence(LabContext& ctx) {
  Platform& platform = ctx.platform;
  const VariantData& variant = ctx.variant;
  ModelState& model = ctx;
  DisplayState& display = ctx;
  ToolsState& tools = ctx;
  ShellState& shell = ctx;

  shell.MenuTable.assign(MenuTableSize, "");
  shell.HelpLines.assign(HelpLinesSize, "");
  shell.HelpLineCount = 0;
  model.sampleLog = SampleLog{};
  display.GraphSnapshot = StripSet{};

  platform.open_main_window();
  platform.activate_window(0);
  platform.set_caption(0, variant.caption);

  initScreenMetrics(platform, display.layout);

  // The window keeps its own drawing on every platform we run on; only the colour can fail.
  if (!platform.set_window_background(0, ColourMagenta)) {
    platform.fail("Die Hintergrundfarbe des Hauptfensters kann nicht gesetzt werden.");
  }

  loadCircuitDefaults(model, variant);
  loadOutputDefaults(tools, display.layout);
  TitleScreen(platform, display.layout, tools, variant);
  // A window closed at the title screen or at the keys help ends the run: nothing more to draw.
  if (ctx.mainWindowGone()) return;

  platform.set_output_window(0);
  LoadHelpText(shell, variant);
  BuildMenu(ctx);
  DrawGraphPanel(platform, display, variant);
  DrawCircuit(platform, display.layout, variant.kind, variant);
  ShowKeysHelp(platform, shell);
  if (ctx.mainWindowGone()) return;

  ClearScreen(platform, model, display, variant.kind, variant);
  newStart(platform, model, display, variant.kind);
}

void mainLoop(LabContext& ctx) {
  if (ctx.mainWindowGone()) return;  // closed during start-up: no step on a window that is gone
  while (true) {
    simulationStep(ctx.platform, ctx, ctx, ctx, ctx.variant);
    ctx.platform.process_events();
    const bool gone = ctx.mainWindowGone();
    const bool closeRequested = ctx.platform.close_requested();
    const bool quit = ctx.QuitMarker == "*";
    if (gone || closeRequested || quit) return;
  }
}

void shutDown(Platform& platform) {
  platform.end_of_run();
  for (int window = 0; window <= 3; ++window) platform.close_window(window);
  platform.yield_once();
}

int runMainProcedure(Platform& platform, const VariantData& variant) {
  LabContext ctx(platform, variant);
  StartupSequence(ctx);
  mainLoop(ctx);
  shutDown(platform);
  return 0;
}

}  // namespace lab
