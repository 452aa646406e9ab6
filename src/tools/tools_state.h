// The tools' part of a program run: their variant data (dialogs, table, pictures) and their state
// (drawing mode, table formats, what the waits watch).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/circuit_params.h"

namespace lab {

struct ScreenLayout;

// One member of the dialog family: its prompt and the range it accepts.
struct DialogData {
  Quantity quantity;
  std::string prompt;
  double low;
  double high;
  bool includeLow;
  bool includeHigh;
};

struct ToolsVariant {
  double inputRowFactor;
  std::array<DialogData, 6> dialogs;  // in the order of Quantity

  std::string screenTableHeading;
  std::string printTableHeading;
  int screenTableRows;

  std::string switchOnPicture;
  std::string switchOffPicture;
  // What the two pictures show, for those who do not see them.
  std::string switchOnPictureText;
  std::string switchOffPictureText;
};

struct ToolsState {
  std::string DrawMode = "j";
  std::string ScreenValueFormat;
  std::string PrintValueFormat;
  double inputResult = 0.0;  // the number inputNumber read
  // Written by the menu dispatch above, read by the waits here: a wait sees the commands nested
  // in it by this count, and the key wait ends on the quit marker.
  int MenuChoiceCount = 0;  // menu choices dispatched so far
  std::string QuitMarker;
  // The table of values as cells while it shows: a table shown inside another's prompt gives
  // them back when it closes.
  std::vector<std::vector<std::string>> TableCells;
};

// Shows a text in a message box; the shell above provides it.
using MessageHandler = std::function<void(const std::string& text)>;

// Start-up values of the drawing mode, the table formats and the band of the graph snapshot.
void loadOutputDefaults(ToolsState& tools, ScreenLayout& layout);

}  // namespace lab
