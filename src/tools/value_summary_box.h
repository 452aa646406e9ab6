// "W&erte zeigen": all component values in one message box.
#pragma once

#include "tools/tools_state.h"

namespace lab {

class Platform;
struct DisplayState;
struct ModelState;
struct ModelVariant;

void showValueSummary(Platform& platform, ModelState& model, DisplayState& display,
                      const ModelVariant& variant, const MessageHandler& showMessage);

}  // namespace lab
