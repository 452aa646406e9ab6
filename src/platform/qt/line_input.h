// The edit field of a line input: ends on Return, opens the menu bar on F10 and keeps every
// other key it is given, Tab included, to itself.
#pragma once

#include <QLineEdit>

namespace lab {

class LineInput : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  bool entered() const { return entered_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Tab and Shift+Tab cycle within the dialog, whose only field this is: the focus stays here.
  bool focusNextPrevChild(bool) override { return true; }

 private:
  bool entered_ = false;
};

}  // namespace lab
