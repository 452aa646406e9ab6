// Message boxes and the help texts.
#pragma once

namespace lab {

struct LabContext;

void ShowMessage(LabContext& ctx);
void LoadHelpText(LabContext& ctx);
void ShowKeysHelp(LabContext& ctx);
void ShowHelpText(LabContext& ctx);
void ShowAuthor(LabContext& ctx);
void ShowNotImplemented(LabContext& ctx);

}  // namespace lab
