// The table of recorded steps on the screen and on the printer.
#pragma once

#include <string>

namespace lab {

struct LabContext;

inline constexpr int TableWindow = 3;

// Row k of the table: six values through the number picture.
std::string tableRow(const LabContext& ctx, int k, const std::string& picture);
void ShowTable(LabContext& ctx);
void PrintTable(LabContext& ctx);

}  // namespace lab
