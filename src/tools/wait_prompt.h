// The "Weiter ?" continue prompt.
#pragma once

#include <cstdint>
#include <string>

namespace lab {

class Platform;
struct ScreenLayout;
struct ToolsState;

// Prints the prompt at a row of the design grid and waits for any key or mouse button,
// or for the end of the main window. spoken: what a screen reader says before the prompt.
void WaitPrompt(Platform& platform, const ScreenLayout& layout, const ToolsState& tools,
                std::int16_t row, const std::string& spoken = "");

}  // namespace lab
