// The display's part of a program run: its variant texts, the screen layout, the saved blank
// graph and the pen position of the two curves.
#pragma once

#include <cstdint>
#include <string>

#include "display/screen_layout.h"
#include "display/strip_store.h"

namespace lab {

struct DisplayVariant {
  std::string upperPanelTitle;
  std::string lowerPanelTitle;
  std::string storageLabel;  // "L" or "C" beside the component in the diagram
};

// Where the curves of the last step ended, in pixels of the main window.
struct CurveState {
  std::int16_t x = 0;
  std::int16_t prevX = 0;
  std::int16_t yCurrent = 0;
  std::int16_t prevYCurrent = 0;
  std::int16_t yVoltage = 0;
  std::int16_t prevYVoltage = 0;
  bool SegmentStarted = false;
};

struct DisplayState {
  ScreenLayout layout;
  StripSet GraphSnapshot;
  CurveState curve;
};

}  // namespace lab
