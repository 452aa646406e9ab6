// The schematic pictures of the switched-on and switched-off circuit.
#pragma once

#include <string>

#include "model/circuit_params.h"

namespace lab {

class Platform;
struct DisplayState;
struct DisplayVariant;
struct ModelState;
struct ToolsState;

void ShowSchematic(Platform& platform, ModelState& model, DisplayState& display,
                   const ToolsState& tools, CircuitVariant kind, const DisplayVariant& variant,
                   const std::string& fileName, const std::string& description = "");

}  // namespace lab
