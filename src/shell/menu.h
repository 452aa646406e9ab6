// The menu bar built from the program's texts and the dispatch of a chosen entry.
#pragma once

namespace lab {

struct LabContext;

void BuildMenu(LabContext& ctx);
void Win_0_MenuEvent(LabContext& ctx, int& index);

}  // namespace lab
