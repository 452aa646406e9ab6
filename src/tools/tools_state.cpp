// The start-up values of the tools' state.
#include "tools/tools_state.h"

#include <cstdint>

#include "display/screen_layout.h"

namespace lab {

void loadOutputDefaults(ToolsState& tools, ScreenLayout& layout) {
  tools.DrawMode = "j";
  tools.ScreenValueFormat = " -###,##";
  tools.PrintValueFormat = " -###,##";
  layout.SnapshotBottom = static_cast<std::int16_t>(ScaleY(layout, 199));
}

}  // namespace lab
