// Message boxes and the help texts.
#pragma once

namespace lab {

struct LabContext;

inline constexpr int HelpLinesSize = 23;  // indices 0 to 22

void ShowMessage(LabContext& ctx);
void LoadHelpText(LabContext& ctx);
void ShowKeysHelp(LabContext& ctx);
void ShowHelpText(LabContext& ctx);
void ShowAuthor(LabContext& ctx);
void ShowNotImplemented(LabContext& ctx);

}  // namespace lab
