// The parameter dialogs: one family around openParameterWindow, inputNumber and
// closeParameterWindow.
#pragma once

#include <string>

#include "model/circuit_params.h"

namespace lab {

class Platform;
struct ModelState;
struct ScreenLayout;
struct ToolsState;
struct ToolsVariant;

inline constexpr int ParameterWindow = 2;

void openParameterWindow(Platform& platform, const ScreenLayout& layout,
                         const ToolsVariant& variant);
void closeParameterWindow(Platform& platform, const ScreenLayout& layout);
// Prints the prompt and the present value, reads one line into inputResult; false when the main
// window closed.
bool inputNumber(Platform& platform, const ScreenLayout& layout, ToolsState& tools,
                 const ToolsVariant& variant, double x, double rowFactor, const std::string& prompt,
                 double presentValue);

// The dialog of one quantity: prompts until an accepted value is typed.
void parameterDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                     ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind,
                     Quantity quantity);

// The six members of the family, one per quantity, as the menu calls them.
void batteryVoltageDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                          ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind);
void initialValueDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                        ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind);
void resistorRDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                     ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind);
void resistorR2Dialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                      ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind);
void storageDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                   ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind);
void timeStepDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                    ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind);

}  // namespace lab
