// The mouse buttons as the programs poll them: a press is kept until it has been read once, so a
// click that comes and goes between two reads still counts.
#pragma once

namespace lab {

class PressLatch {
 public:
  // The buttons down now (LeftButton | RightButton), as the last mouse event reported them.
  void hold(int buttons) { held_ = buttons; }
  void press(int button) { pressed_ |= button; }
  // The buttons held, and those pressed since the last read; forgets the presses.
  int read();

 private:
  int held_ = 0;
  int pressed_ = 0;
};

}  // namespace lab
