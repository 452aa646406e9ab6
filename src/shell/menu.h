// The menu bar built from the program's texts and the dispatch of a chosen entry.
#pragma once

namespace lab {

struct LabContext;

inline constexpr int MenuTableSize = 81;  // indices 0 to 80

void BuildMenu(LabContext& ctx);
void Win_0_MenuEvent(LabContext& ctx, int& index);

}  // namespace lab
