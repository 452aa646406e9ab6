// The 16-colour palette and the pen selection.
#include "display/colours.h"

#include <array>

namespace lab {

namespace {

// The classic 16-colour text-mode palette.
constexpr std::array<Colour, 16> Palette{{
    {0, 0, 0},
    {0, 0, 170},
    {0, 170, 0},
    {0, 170, 170},
    {170, 0, 0},
    {170, 0, 170},
    {170, 85, 0},
    {170, 170, 170},
    {85, 85, 85},
    {85, 85, 255},
    {85, 255, 85},
    {85, 255, 255},
    {255, 85, 85},
    {255, 85, 255},
    {255, 255, 85},
    {255, 255, 255},
}};

}  // namespace

Colour paletteColour(int index) {
  if (index < 0 || index >= static_cast<int>(Palette.size())) return ColourBlack;
  return Palette[static_cast<std::size_t>(index)];
}

void SelectPen(Platform& platform, int n) {
  if (n != 1) return;
  platform.set_colour(paletteColour(1));
  platform.set_back_colour(paletteColour(3));
}

}  // namespace lab
