// The colour constants and the pen selection.
#pragma once

#include "platform/platform.h"

namespace lab {

inline constexpr Colour ColourBlack{0, 0, 0};
inline constexpr Colour ColourBlue{0, 0, 255};
inline constexpr Colour ColourMagenta{255, 0, 255};
inline constexpr Colour ColourWhite{255, 255, 255};

// The 16-colour palette that pens choose from.
Colour paletteColour(int index);

// Pen 1: foreground palette colour 1, background palette colour 3; any other pen changes nothing.
void SelectPen(Platform& platform, int n);

}  // namespace lab
