// The table of recorded steps on the screen and on the printer.
#pragma once

#include <string>

#include "model/circuit_params.h"

namespace lab {

class Platform;
struct DisplayState;
struct ModelState;
struct ToolsState;
struct ToolsVariant;

inline constexpr int TableWindow = 3;

// Row k of the table: six values through the number picture.
std::string tableRow(const ModelState& model, CircuitVariant kind, int k,
                     const std::string& picture);
void ShowTable(Platform& platform, ModelState& model, DisplayState& display, ToolsState& tools,
               const ToolsVariant& variant, CircuitVariant kind);
void PrintTable(Platform& platform, const ModelState& model, const ToolsState& tools,
                const ToolsVariant& variant, CircuitVariant kind);

}  // namespace lab
