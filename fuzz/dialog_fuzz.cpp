// Fuzz target for the parameter dialogs: any typed lines leave every value finite, accepted
// or unchanged, and its derived values in step with it.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <string>

#include "display/screen_layout.h"
#include "model/circuit_params.h"
#include "null_platform.h"
#include "shell/lab_context.h"
#include "tools/parameter_dialogs.h"
#include "variants/variant_data.h"

namespace {

constexpr std::array<const char*, 16> Interesting{"",      "nan",   "inf", "-inf", "1e999", "0,5",
                                                  "0.099", "0.098", "4",   "12",   "-12",   "11.99",
                                                  "0",     "0.99",  "1",   " 2.5 "};

bool accepted(const lab::DialogData& dialog, double value) {
  const bool aboveLow = dialog.includeLow ? value >= dialog.low : value > dialog.low;
  const bool belowHigh = dialog.includeHigh ? value <= dialog.high : value < dialog.high;
  return aboveLow && belowHigh;
}

void checkDerived(const lab::LabContext& ctx) {
  const lab::CircuitParams& p = ctx.params;
  const bool inStep =
      ctx.variant.kind == lab::CircuitVariant::Coil
          ? p.RSum == p.R + p.R2 && p.InvL == 1.0 / p.Storage
          : p.InvR == 1.0 / p.R && p.InvRSum == 1.0 / (p.R + p.R2) && p.InvC == 1.0 / p.Storage;
  if (!inStep) lab::fuzz::fault("derived values out of step with the accepted values");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const lab::VariantData& variant = in.ConsumeBool() ? lab::coilVariant() : lab::capacitorVariant();
  const auto index = in.ConsumeIntegralInRange<std::size_t>(0, variant.dialogs.size() - 1);
  const lab::DialogData& dialog = variant.dialogs[index];

  lab::fuzz::NullPlatform platform(in.ConsumeBool() ? 640 : 1024, in.ConsumeBool() ? 480 : 768);
  const int lineCount = in.ConsumeIntegralInRange<int>(0, 8);
  for (int i = 0; i < lineCount; ++i) {
    platform.lines.push_back(in.ConsumeBool() ? std::string(in.PickValueInArray(Interesting))
                                              : in.ConsumeRandomLengthString(64));
  }

  lab::LabContext ctx(platform, variant);
  platform.open_main_window();
  lab::initScreenMetrics(ctx.platform, ctx.layout);
  lab::loadCircuitDefaults(ctx, ctx.variant);
  lab::loadOutputDefaults(ctx, ctx.layout);
  const double before = lab::fieldOf(ctx.params, dialog.quantity);

  lab::parameterDialog(ctx.platform, ctx, ctx.layout, ctx, ctx.variant, ctx.variant.kind,
                       dialog.quantity);

  const double after = lab::fieldOf(ctx.params, dialog.quantity);
  if (!std::isfinite(after)) lab::fuzz::fault("the dialog stored a non-finite value");
  if (after != before && !accepted(dialog, after)) {
    lab::fuzz::fault("the dialog left a refused value: " + std::to_string(after));
  }
  checkDerived(ctx);
  return 0;
}
