// The line input's wait, the same on every platform: the platform puts up its edit field, and
// the wait below ends on Return, on a nested command that closed or reopened the field's window,
// or on the end of the main window.
#pragma once

#include <string>

#include "platform/platform.h"

namespace lab {

// What the wait asks of a platform while one line is read in its output window.
class LineEditing {
 public:
  enum class Field { Editing, Entered, Gone };

  virtual ~LineEditing() = default;
  virtual bool mainWindowOpen() = 0;
  // How often the window being read has been opened or closed so far.
  virtual int windowOpenings() = 0;
  // Puts the edit field up at the text position; false: there is no window to put it in.
  virtual bool openField() = 0;
  virtual Field field() = 0;
  virtual std::string fieldText() = 0;
  // Back from a nested command, the field takes the keys again.
  virtual void resumeField() = 0;
  virtual void closeField() = 0;
  // Blocks until the next event has been handled, a nested command included.
  virtual void waitForEvent() = 0;
};

LineResult editLine(LineEditing& editing);

}  // namespace lab
