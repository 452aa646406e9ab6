// The parameter dialogs: one family around openParameterWindow, inputNumber and
// closeParameterWindow.
#pragma once

#include <string>

#include "model/circuit_params.h"

namespace lab {

struct LabContext;

inline constexpr int ParameterWindow = 2;

void openParameterWindow(LabContext& ctx);
void closeParameterWindow(LabContext& ctx);
// Prints the prompt and the present value, reads one line; false when the main window closed.
bool inputNumber(LabContext& ctx, double x, double rowFactor, const std::string& prompt,
                 double presentValue);

// The dialog of one quantity: prompts until an accepted value is typed.
void parameterDialog(LabContext& ctx, Quantity quantity);

void batteryVoltageDialog(LabContext& ctx);
void initialValueDialog(LabContext& ctx);
void resistorRDialog(LabContext& ctx);
void resistorR2Dialog(LabContext& ctx);
void storageDialog(LabContext& ctx);
void timeStepDialog(LabContext& ctx);

}  // namespace lab
