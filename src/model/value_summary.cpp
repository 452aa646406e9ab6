// The text of "W&erte zeigen": the component values with their units, for one message box.
#include "model/value_summary.h"

#include <cmath>

#include "model/model_state.h"
#include "model/number_text.h"

namespace lab {

namespace {

// Three decimals, halves upward. Dividing by 1000 gives the double nearest to the decimal,
// where multiplying by 0.001 would show texts such as "1.0050000000000001".
double roundedToThreeDecimals(double value) {
  return std::floor(value * 1000 + 0.5) / 1000;
}

}  // namespace

std::string valueSummaryText(const CircuitParams& params, const ModelVariant& variant) {
  std::string text = variant.summaryHeading;
  for (const SummaryLine& line : variant.summaryLines) {
    double value = fieldOf(params, line.quantity);
    if (variant.summaryRounded) value = roundedToThreeDecimals(value);
    text += line.label + plainNumberText(value) + line.unit;
  }
  return text;
}

}  // namespace lab
