// The two graph panels and the mapping of time and values to pixels.
#pragma once

#include <cstdint>

namespace lab {

class Platform;
struct DisplayState;
struct DisplayVariant;
struct ScreenLayout;

// Draws both blank panels and keeps them in GraphSnapshot.
void DrawGraphPanel(Platform& platform, DisplayState& display, const DisplayVariant& variant);

// t * 10 * XFactor + 10, rounded half to even, kept within 16 bits.
std::int16_t PlotX(const ScreenLayout& layout, double t);
// One value unit is 3 grid units upward from zeroY, kept within 16 bits.
std::int16_t PlotY(const ScreenLayout& layout, double v, int zeroY);

}  // namespace lab
