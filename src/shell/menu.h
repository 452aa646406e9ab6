// The menu bar built from the program's texts and the dispatch of a chosen entry.
#pragma once

namespace lab {

struct LabContext;

// Each command chosen inside a waiting command runs on top of it on the call stack. Dialogs inside
// dialogs exhaust Chromium's script stack at about 1,300 levels, WebKit's at about 3,100 and the
// desktop's 8 MB stack at about 5,700; smaller devices hold less. The command beyond this depth is
// refused with a box, far short of any of them.
inline constexpr int MaxCommandDepth = 100;

void BuildMenu(LabContext& ctx);
void Win_0_MenuEvent(LabContext& ctx, int& index);

}  // namespace lab
