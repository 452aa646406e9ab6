// Message boxes and the help texts.
#pragma once

#include "model/circuit_params.h"
#include "tools/tools_state.h"

namespace lab {

class Platform;
struct DisplayState;
struct ModelState;
struct ShellState;
struct ShellVariant;

void ShowMessage(Platform& platform, const ShellState& shell);
// The message box as the tools below ask for it: the text becomes MessageText, then ShowMessage.
MessageHandler messageShower(Platform& platform, ShellState& shell);
void LoadHelpText(ShellState& shell, const ShellVariant& variant);
void ShowKeysHelp(Platform& platform, ShellState& shell);
void ShowHelpText(Platform& platform, ShellState& shell, ModelState& model, DisplayState& display,
                  CircuitVariant kind);
void ShowAuthor(Platform& platform);
void ShowNotImplemented(Platform& platform, ShellState& shell);

}  // namespace lab
