// The "Weiter ?" continue prompt: printed at a grid row, ended by a key or a mouse press.
#include "shell/wait_prompt.h"

#include "display/rounding.h"
#include "lab_context.h"

namespace lab {

void WaitPrompt(LabContext& ctx, std::int16_t row) {
  Platform& platform = ctx.platform;
  const bool wide = ctx.layout.XFactor > 1;
  platform.set_text_position(wide ? 19 : 2, toInt32(row * ctx.layout.YFactor));
  platform.print_text(wide ? "Weiter ?   <RETURN>" : "Weiter ?  <RETURN>", false);

  // Only a fresh press answers the prompt: a button still held from before it, or from a
  // command chosen inside it (mouse measuring ends on both buttons), must be released first.
  bool released = platform.mouse_buttons() == 0;
  int choicesSeen = ctx.MenuChoiceCount;
  while (true) {
    if (!platform.read_key().empty()) return;  // the key is consumed, whichever it was
    const int buttons = platform.mouse_buttons();
    if (ctx.MenuChoiceCount != choicesSeen) {
      // A command ran nested in one of these calls, wherever the platform handled the events;
      // its buttons may still be held, so look again at once before trusting any press.
      choicesSeen = ctx.MenuChoiceCount;
      released = false;
      continue;
    }
    if (buttons == 0) {
      released = true;
    } else if (released) {
      return;
    }
    if (ctx.mainWindowGone()) return;
    platform.wait_for_event();
  }
}

}  // namespace lab
