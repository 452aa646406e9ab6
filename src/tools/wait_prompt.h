// The "Weiter ?" continue prompt.
#pragma once

#include <cstdint>

namespace lab {

class Platform;
struct ScreenLayout;
struct ToolsState;

// Prints the prompt at a row of the design grid and waits for any key or mouse button,
// or for the end of the main window.
void WaitPrompt(Platform& platform, const ScreenLayout& layout, const ToolsState& tools,
                std::int16_t row);

}  // namespace lab
