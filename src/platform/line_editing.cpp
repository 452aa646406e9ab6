// The line input's wait on a platform's edit field.
#include "platform/line_editing.h"

namespace lab {

LineResult editLine(LineEditing& editing) {
  if (!editing.mainWindowOpen()) return {LineStatus::WindowClosed, ""};
  const int opened = editing.windowOpenings();
  if (!editing.openField()) return {LineStatus::Interrupted, ""};
  while (true) {
    if (!editing.mainWindowOpen()) {
      editing.closeField();
      return {LineStatus::WindowClosed, ""};
    }
    // A nested command that closed or reopened the window took the field's place away.
    const LineEditing::Field field = editing.field();
    if (field == LineEditing::Field::Gone || editing.windowOpenings() != opened) {
      editing.closeField();
      return {LineStatus::Interrupted, ""};
    }
    if (field == LineEditing::Field::Entered) {
      LineResult result{LineStatus::Entered, editing.fieldText()};
      editing.closeField();
      return result;
    }
    editing.resumeField();
    editing.waitForEvent();
  }
}

}  // namespace lab
