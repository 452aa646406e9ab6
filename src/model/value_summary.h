// "W&erte zeigen": all component values in one message box.
#pragma once

#include <string>

namespace lab {

struct LabContext;

std::string valueSummaryText(const LabContext& ctx);
void showValueSummary(LabContext& ctx);

}  // namespace lab
