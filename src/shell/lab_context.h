// A whole program run: the variant's data of every layer, and the platform with the state of
// every layer. Only the shell and the mains hold it; each procedure below takes the parts it uses.
#pragma once

#include "display/display_state.h"
#include "model/model_state.h"
#include "platform/platform.h"
#include "shell/shell_state.h"
#include "tools/tools_state.h"

namespace lab {

// What differs between the coil program and the capacitor program, by layer.
struct VariantData : ModelVariant, DisplayVariant, ToolsVariant, ShellVariant {};

struct LabContext : ModelState, DisplayState, ToolsState, ShellState {
  LabContext(Platform& platform_, const VariantData& variant_)
      : platform(platform_), variant(variant_) {}

  Platform& platform;
  const VariantData& variant;

  bool mainWindowGone() { return !platform.main_window_exists(); }
};

}  // namespace lab
