// The "Weiter ?" continue prompt.
#pragma once

#include <cstdint>

namespace lab {

struct LabContext;

// Prints the prompt at a row of the design grid and waits for any key or mouse button,
// or for the end of the main window.
void WaitPrompt(LabContext& ctx, std::int16_t row);

}  // namespace lab
