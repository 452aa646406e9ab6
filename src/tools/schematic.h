// The schematic pictures of the switched-on and switched-off circuit.
#pragma once

#include <string>

namespace lab {

struct LabContext;

void ShowSchematic(LabContext& ctx, const std::string& fileName);

}  // namespace lab
