// Reading the mouse buttons through the latch of presses not yet read.
#include "platform/press_latch.h"

namespace lab {

int PressLatch::read() {
  const int buttons = held_ | pressed_;
  pressed_ = 0;
  return buttons;
}

}  // namespace lab
