// What differs between the coil program and the capacitor program: texts, defaults, ranges,
// record limit, table headings and picture names.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/circuit_params.h"

namespace lab {

enum class CircuitVariant { Coil, Capacitor };

// One member of the dialog family: its prompt and the range it accepts.
struct DialogData {
  Quantity quantity;
  std::string prompt;
  double low;
  double high;
  bool includeLow;
  bool includeHigh;
};

struct SummaryLine {
  std::string label;
  Quantity quantity;
  std::string unit;
};

struct VariantData {
  CircuitVariant kind;
  std::string programName;
  std::string caption;
  // Menu part ended by "ende", then the help part ended by "*".
  std::vector<std::string> BuiltInTexts;

  std::string upperPanelTitle;
  std::string lowerPanelTitle;
  std::string storageLabel;  // "L" or "C" beside the component in the diagram
  std::string titleThirdLine;
  int titleThirdLineX;  // grid x

  CircuitParams defaults;
  int recordLimit;
  double inputRowFactor;
  std::array<DialogData, 6> dialogs;  // in the order of Quantity

  std::string summaryHeading;
  bool summaryRounded;  // rounded to three decimals, halves upward
  std::vector<SummaryLine> summaryLines;

  std::string screenTableHeading;
  std::string printTableHeading;
  int screenTableRows;

  std::string switchOnPicture;
  std::string switchOffPicture;
};

// The program's texts: the shared menu part with its two own entries, "ende", then the help part.
std::vector<std::string> builtInTexts(const std::string& initialValueEntry,
                                      const std::string& storageEntry,
                                      const std::vector<std::string>& helpPart);

const VariantData& coilVariant();
const VariantData& capacitorVariant();

}  // namespace lab
