// The schematic pictures: a prepared picture of the circuit over the main window until a key.
#include "tools/schematic.h"

#include "display/circuit_diagram.h"
#include "display/colours.h"
#include "display/display_state.h"
#include "display/screen_layout.h"
#include "platform/platform.h"
#include "tools/redraw.h"
#include "tools/wait_prompt.h"

namespace lab {

void ShowSchematic(Platform& platform, ModelState& model, DisplayState& display,
                   const ToolsState& tools, CircuitVariant kind, const DisplayVariant& variant,
                   const std::string& fileName, const std::string& description) {
  const ScreenLayout& layout = display.layout;
  platform.set_output_window(0);
  platform.clear_clip();  // clearing must reach the whole client area
  platform.clear_window();
  // Held only while the command runs; a null picture was missing or unreadable, and the
  // platform has told the pupil so.
  const ImageHandle picture = platform.load_picture(fileName);
  platform.set_colour(ColourWhite);
  if (picture) {
    platform.put_picture_stretched(picture, ScaleX(layout, 4), ScaleY(layout, 4),
                                   ScaleX(layout, 310), ScaleY(layout, 192));
    platform.describe_drawing(description);
    WaitPrompt(platform, layout, tools, 24, description);
    platform.describe_drawing("");
    if (!platform.main_window_exists()) return;
  }
  platform.set_output_window(0);  // a command run inside the prompt may have moved the output
  platform.clear_window();
  DrawCircuit(platform, layout, kind, variant);
  RestartGraph(platform, model, display, kind);
}

}  // namespace lab
