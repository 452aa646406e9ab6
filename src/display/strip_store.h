// Saved screen bands held as horizontal strips (GraphSnapshot).
#pragma once

#include <array>

#include "platform/platform.h"

namespace lab {

// Elements 1 to 20 hold the strips of one band, strip 1 at the top; element 0 and 21 stay empty.
using StripSet = std::array<ImageHandle, 22>;

// Top row of strip i+1 (bottom row of strip i): trunc(i * yBottom / n).
int stripBoundary(int i, int yBottom, int n);

void SaveStrips(Platform& platform, StripSet& set, int x1, int x2, int yBottom, int n);
void RestoreStrips(Platform& platform, const StripSet& set, int x, int yBottom, int n);

}  // namespace lab
