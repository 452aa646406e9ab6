// Reading voltage and current off the graph with the mouse.
#pragma once

#include "model/circuit_params.h"
#include "tools/tools_state.h"

namespace lab {

class Platform;
struct ScreenLayout;

// The reading, in tenths, for a height difference of d pixels above the zero line.
int readingTenths(int d, int screenHeight);
void MouseMeasure(Platform& platform, const ScreenLayout& layout, const ToolsState& tools,
                  CircuitVariant kind, const MessageHandler& showMessage);

}  // namespace lab
