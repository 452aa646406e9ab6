// "W&erte zeigen": the component values with their units in one message box, then a restart of
// the run on the blank graph.
#include "model/value_summary.h"

#include <cmath>

#include "lab_context.h"
#include "model/number_text.h"
#include "shell/messages.h"
#include "tools/redraw.h"

namespace lab {

namespace {

// Three decimals, halves upward. Dividing by 1000 gives the double nearest to the decimal,
// where multiplying by 0.001 would show texts such as "1.0050000000000001".
double roundedToThreeDecimals(double value) {
  return std::floor(value * 1000 + 0.5) / 1000;
}

}  // namespace

std::string valueSummaryText(const LabContext& ctx) {
  const VariantData& variant = ctx.variant;
  std::string text = variant.summaryHeading;
  for (const SummaryLine& line : variant.summaryLines) {
    double value = fieldOf(ctx.params, line.quantity);
    if (variant.summaryRounded) value = roundedToThreeDecimals(value);
    text += line.label + plainNumberText(value) + line.unit;
  }
  return text;
}

void showValueSummary(LabContext& ctx) {
  ctx.MessageText = valueSummaryText(ctx);
  ShowMessage(ctx);
  if (ctx.mainWindowGone()) return;
  // The blank graph goes back into the main window, also when a dialog's window is the target.
  ctx.platform.set_output_window(0);
  RestartGraph(ctx);
}

}  // namespace lab
