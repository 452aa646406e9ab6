// The "Weiter ?" continue prompt: printed at a grid row, ended by a key or a mouse press.
#include "tools/wait_prompt.h"

#include "display/rounding.h"
#include "display/screen_layout.h"
#include "platform/platform.h"
#include "tools/tools_state.h"

namespace lab {

void WaitPrompt(Platform& platform, const ScreenLayout& layout, const ToolsState& tools,
                std::int16_t row, const std::string& spoken) {
  const bool wide = layout.XFactor > 1;
  platform.set_text_position(wide ? 19 : 2, toInt32(row * layout.YFactor));
  platform.print_text(wide ? "Weiter ?   <RETURN>" : "Weiter ?  <RETURN>", false);
  // Spoken while it waits and taken back when it ends, so it is never read out afterwards.
  platform.announce((spoken.empty() ? "" : spoken + " ") + "Weiter mit einer Taste.");
  struct Unspoken {
    Platform& platform;
    ~Unspoken() { platform.announce(""); }
  } unspoken{platform};

  // Only a fresh press answers the prompt: a button still held from before it, or from a
  // command chosen inside it (mouse measuring ends on both buttons), must be released first.
  bool released = platform.mouse_buttons() == 0;
  int choicesSeen = tools.MenuChoiceCount;
  while (true) {
    if (!platform.read_key().empty()) return;  // the key is consumed, whichever it was
    const int buttons = platform.mouse_buttons();
    if (tools.MenuChoiceCount != choicesSeen) {
      // A command ran nested in one of these calls, wherever the platform handled the events;
      // its buttons may still be held, so look again at once before trusting any press.
      choicesSeen = tools.MenuChoiceCount;
      released = false;
      continue;
    }
    if (buttons == 0) {
      released = true;
    } else if (released) {
      return;
    }
    if (!platform.main_window_exists()) return;
    platform.wait_for_event();
  }
}

}  // namespace lab
