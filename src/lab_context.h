// All state of one program run, gathered in one object that every procedure takes.
#pragma once

#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "display/strip_store.h"
#include "model/circuit_params.h"
#include "model/simulation.h"
#include "platform/platform.h"
#include "variants/variant_data.h"

namespace lab {

inline constexpr int MenuTableSize = 81;  // indices 0 to 80
inline constexpr int HelpLinesSize = 23;  // indices 0 to 22

struct LabContext {
  LabContext(Platform& platform_, const VariantData& variant_)
      : platform(platform_), variant(variant_) {}

  Platform& platform;
  const VariantData& variant;

  ScreenLayout layout;
  StripSet GraphSnapshot;

  CircuitParams params;
  SimulationState sim;
  SampleLog sampleLog;
  int SwitchState = 0;  // 0 not yet operated, 1 off (key 0), 2 on (key 1)

  std::string DrawMode = "j";
  std::string QuitMarker;
  std::string MessageText;
  int MenuChoiceCount = 0;  // menu choices dispatched so far: a wait sees commands nested in it
  int CommandDepth = 0;     // commands running, each inside the wait of the one before

  std::vector<std::string> MenuTable = std::vector<std::string>(MenuTableSize);
  std::vector<std::string> HelpLines = std::vector<std::string>(HelpLinesSize);
  int HelpLineCount = 0;

  std::string ScreenValueFormat;
  std::string PrintValueFormat;
  double inputResult = 0.0;  // the number inputNumber read

  bool mainWindowGone() { return !platform.main_window_exists(); }
};

}  // namespace lab
