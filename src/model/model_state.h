// The model's part of a program run: its variant data and its state (parameters, run, record,
// switch).
#pragma once

#include <string>
#include <vector>

#include "model/circuit_params.h"
#include "model/simulation.h"

namespace lab {

struct SummaryLine {
  std::string label;
  Quantity quantity;
  std::string unit;
};

// What the model needs to know of its program: the circuit, its start-up values, the record limit
// and the lines of the value summary.
struct ModelVariant {
  CircuitVariant kind;
  CircuitParams defaults;
  int recordLimit;

  std::string summaryHeading;
  bool summaryRounded;  // rounded to three decimals, halves upward
  std::vector<SummaryLine> summaryLines;
  // What a screen reader says when the switch goes to 1 and to 0.
  std::string switchOnText;
  std::string switchOffText;
};

struct ModelState {
  CircuitParams params;
  SimulationState sim;
  SampleLog sampleLog;
  int SwitchState = 0;  // 0 not yet operated, 1 off (key 0), 2 on (key 1)
};

// Start-up values of the parameters and of the run.
void loadCircuitDefaults(ModelState& model, const ModelVariant& variant);
// Stores an accepted value of a dialog, with what it sets besides its own field and the derived
// values that follow from it.
void storeParameter(ModelState& model, CircuitVariant kind, Quantity quantity, double value);

}  // namespace lab
