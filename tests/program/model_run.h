// A program run for the model tests: the recording platform with the main window open, the screen
// metrics, the start-up values, the blank graph saved and a new start made.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "display/graph_panel.h"
#include "display/screen_layout.h"
#include "model/circuit_params.h"
#include "model/simulation.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "tools/curve_plot.h"
#include "tools/redraw.h"
#include "variants/variant_data.h"

namespace lab::test {

struct ModelRun {
  explicit ModelRun(const VariantData& variant, int width = 800, int height = 600)
      : platform(width, height), ctx(platform, variant) {
    platform.open_main_window();
    initScreenMetrics(ctx.platform, ctx.layout);
    loadCircuitDefaults(ctx, ctx.variant);
    loadOutputDefaults(ctx, ctx.layout);
    DrawGraphPanel(ctx.platform, ctx, ctx.variant);
    RestartGraph(ctx.platform, ctx, ctx, ctx.variant.kind);
    newStart(ctx.platform, ctx, ctx, ctx.variant.kind);
    platform.takeCalls();
  }

  RecordingPlatform platform;
  LabContext ctx;
};

inline std::size_t countCalls(const std::vector<std::string>& calls, const std::string& prefix) {
  return static_cast<std::size_t>(std::count_if(
      calls.begin(), calls.end(), [&](const auto& c) { return c.rfind(prefix, 0) == 0; }));
}

inline std::vector<std::string> callsWith(const std::vector<std::string>& calls,
                                          const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& call : calls) {
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  }
  return found;
}

}  // namespace lab::test
