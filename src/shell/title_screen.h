// The title screen shown once at start-up.
#pragma once

namespace lab {

class Platform;
struct ScreenLayout;
struct ShellVariant;
struct ToolsState;

void TitleScreen(Platform& platform, const ScreenLayout& layout, const ToolsState& tools,
                 const ShellVariant& variant);

}  // namespace lab
