// The bare model update of both circuits on the silent platform: the Euler step, the record
// and the plot mapping, without any drawing. The reference for the step on the Qt platform.
#include <benchmark/benchmark.h>

#include "display/screen_layout.h"
#include "model/circuit_params.h"
#include "model/simulation.h"
#include "null_platform.h"
#include "shell/lab_context.h"
#include "tools/curve_plot.h"
#include "variants/variant_data.h"

namespace {

constexpr int BenchWidth = 1920;
constexpr int BenchHeight = 1080;
constexpr int SwitchOn = 2;

void modelUpdate(benchmark::State& state, const lab::VariantData& variant) {
  lab::bench::NullPlatform platform(BenchWidth, BenchHeight);
  lab::LabContext ctx(platform, variant);
  lab::initScreenMetrics(ctx.platform, ctx.layout);
  lab::loadCircuitDefaults(ctx, ctx.variant);
  lab::loadOutputDefaults(ctx, ctx.layout);
  ctx.SwitchState = SwitchOn;
  lab::newStart(ctx.platform, ctx, ctx, ctx.variant.kind);
  for (auto _ : state) {
    lab::modelUpdate(ctx, ctx.variant, segmentPlotter(ctx.platform, ctx, ctx, ctx));
  }
  benchmark::DoNotOptimize(platform.lines);
  benchmark::DoNotOptimize(ctx.sim.I);
  benchmark::DoNotOptimize(ctx.sim.U);
}

BENCHMARK_CAPTURE(modelUpdate, coil, lab::coilVariant());
BENCHMARK_CAPTURE(modelUpdate, capacitor, lab::capacitorVariant());

}  // namespace
