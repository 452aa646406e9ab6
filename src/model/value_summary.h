// The text of "W&erte zeigen": all component values with their units.
#pragma once

#include <string>

namespace lab {

struct CircuitParams;
struct ModelVariant;

std::string valueSummaryText(const CircuitParams& params, const ModelVariant& variant);

}  // namespace lab
