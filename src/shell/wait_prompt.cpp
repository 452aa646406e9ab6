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

  // A button still held from before the prompt (the click that ended an earlier prompt or a
  // nested mouse measuring) must be released first: only a fresh press answers the prompt.
  bool released = platform.mouse_buttons() == 0;
  while (true) {
    if (!platform.read_key().empty()) return;  // the key is consumed, whichever it was
    if (platform.mouse_buttons() == 0) {
      released = true;
    } else if (released) {
      return;
    }
    if (ctx.mainWindowGone()) return;
    platform.wait_for_event();
  }
}

}  // namespace lab
