// Fuzz target for the time stepping: screens of any size, accepted and hostile parameter sets,
// both keys, new starts, restarts and both drawing modes; no crash, no undefined behaviour, every
// pixel within 16 bits and nothing recorded past the record limit.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "display/circuit_diagram.h"
#include "display/graph_panel.h"
#include "display/screen_layout.h"
#include "model/circuit_params.h"
#include "model/simulation.h"
#include "null_platform.h"
#include "shell/lab_context.h"
#include "tools/curve_plot.h"
#include "tools/redraw.h"
#include "variants/variant_data.h"

namespace {

constexpr int MaxSteps = 20000;
constexpr std::array<std::pair<int, int>, 6> Screens{
    {{320, 200}, {640, 480}, {800, 600}, {1024, 768}, {1920, 1080}, {3840, 2160}}};

double hostileValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
      return std::numeric_limits<double>::quiet_NaN();
    case 1:
      return std::numeric_limits<double>::infinity();
    case 2:
      return -std::numeric_limits<double>::infinity();
    case 3:
      return 0.0;
    case 4:
      return 1e300;
    case 5:
      return -1e300;
    case 6:
      return std::numeric_limits<double>::denorm_min();
    default:
      return in.ConsumeFloatingPoint<double>();
  }
}

// A value the quantity's dialog would accept.
double acceptedValue(FuzzedDataProvider& in, const lab::DialogData& dialog) {
  double value = in.ConsumeFloatingPointInRange(dialog.low, dialog.high);
  if (!dialog.includeLow && value <= dialog.low) value = std::nextafter(dialog.low, dialog.high);
  if (!dialog.includeHigh && value >= dialog.high) value = std::nextafter(dialog.high, dialog.low);
  return value;
}

void setParameter(FuzzedDataProvider& in, lab::LabContext& ctx) {
  const auto index = in.ConsumeIntegralInRange<std::size_t>(0, ctx.variant.dialogs.size() - 1);
  const lab::DialogData& dialog = ctx.variant.dialogs[index];
  const double value = in.ConsumeBool() ? acceptedValue(in, dialog) : hostileValue(in);
  lab::fieldOf(ctx.params, dialog.quantity) = value;
  lab::recomputeDerived(ctx.params, ctx.variant.kind, dialog.quantity);
}

void runKeys(FuzzedDataProvider& in, lab::fuzz::NullPlatform& platform, lab::LabContext& ctx,
             int& steps) {
  const std::string key = in.ConsumeBool() ? "1" : "0";
  const int count = in.ConsumeIntegralInRange<int>(1, 400);
  for (int i = 0; i < count; ++i) {
    // The extra key is dropped by the key wait, or ends the prompt when the sweep wraps.
    if (i > 0) platform.keys.push_back("x");
    platform.keys.push_back(key);
  }
  while (!platform.keys.empty() && platform.main_window_exists() && steps < MaxSteps) {
    lab::simulationStep(ctx.platform, ctx, ctx, ctx, ctx.variant);
    ++steps;
  }
  platform.keys.clear();
}

void checkRecordLimit(const lab::LabContext& ctx) {
  const lab::SampleLog& log = ctx.sampleLog;
  for (int k = ctx.variant.recordLimit; k < lab::SampleLogSize; ++k) {
    if (log.t[k] != 0.0 || log.U[k] != 0.0 || log.I[k] != 0.0 || log.d[k] != 0.0) {
      lab::fuzz::fault("a step was recorded past the record limit at entry " + std::to_string(k));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const lab::VariantData& variant = in.ConsumeBool() ? lab::coilVariant() : lab::capacitorVariant();
  auto [width, height] = in.PickValueInArray(Screens);
  if (in.ConsumeBool()) {
    width = in.ConsumeIntegralInRange<int>(1, 8192);
    height = in.ConsumeIntegralInRange<int>(1, 8192);
  }

  lab::fuzz::NullPlatform platform(width, height);
  lab::LabContext ctx(platform, variant);
  platform.open_main_window();
  lab::initScreenMetrics(ctx.platform, ctx.layout);
  lab::loadCircuitDefaults(ctx, ctx.variant);
  lab::loadOutputDefaults(ctx, ctx.layout);
  lab::DrawGraphPanel(ctx.platform, ctx, ctx.variant);
  lab::DrawCircuit(ctx.platform, ctx.layout, ctx.variant.kind, ctx.variant);
  lab::ClearScreen(ctx.platform, ctx, ctx, ctx.variant.kind, ctx.variant);
  lab::newStart(ctx.platform, ctx, ctx, ctx.variant.kind);

  int steps = 0;
  while (in.remaining_bytes() > 0 && platform.main_window_exists() && steps < MaxSteps) {
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
      case 0:
        lab::newStart(ctx.platform, ctx, ctx, ctx.variant.kind);
        break;
      case 1:
        lab::RestartGraph(ctx.platform, ctx, ctx, ctx.variant.kind);
        break;
      case 2:
        lab::ClearScreen(ctx.platform, ctx, ctx, ctx.variant.kind, ctx.variant);
        break;
      case 3:
        ctx.DrawMode = in.ConsumeBool() ? "j" : "n";
        break;
      case 4:
      case 5:
        setParameter(in, ctx);
        break;
      default:
        runKeys(in, platform, ctx, steps);
        break;
    }
  }
  checkRecordLimit(ctx);
  return 0;
}
