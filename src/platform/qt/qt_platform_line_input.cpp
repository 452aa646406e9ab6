// The Qt platform's line input: an edit field at the text position of the output window, in
// its font and colours, read until Return.
#include <QApplication>
#include <QMenuBar>
#include <QPalette>

#include "platform/line_editing.h"
#include "platform/qt/line_input.h"
#include "platform/qt/qt_platform.h"

namespace lab {

namespace {

// The edit field of one line input, as the shared line wait drives it.
class EditField : public LineEditing {
 public:
  EditField(QtPlatform& platform, Surface* surface, const int& openings)
      : platform_(platform), surface_(surface), openings_(openings) {}

  bool mainWindowOpen() override { return platform_.main_window_exists(); }
  int windowOpenings() override { return openings_; }
  bool openField() override;
  Field field() override {
    if (!edit_) return Field::Gone;  // deleted with its window
    return edit_->entered() ? Field::Entered : Field::Editing;
  }
  std::string fieldText() override { return edit_->text().toStdString(); }
  void resumeField() override;
  void closeField() override { delete edit_.data(); }
  void waitForEvent() override { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

 private:
  QtPlatform& platform_;
  Surface* surface_;
  const int& openings_;
  QPointer<LineInput> edit_;
};

bool EditField::openField() {
  if (!surface_) return false;
  const DrawingAttributes& a = surface_->attributes;
  edit_ = new LineInput(surface_, QRectF(a.textPosition, QSizeF(1.0, surface_->lineHeight())),
                        a.fontName, a.fontSize);
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Base, a.back);
  palette.setColor(QPalette::Text, a.fore);
  edit_->setPalette(palette);
  edit_->fit();
  edit_->show();
  edit_->setFocus();
  return true;
}

void EditField::resumeField() {
  // While the menu bar is opened from the keyboard it keeps the keys, and it gives them back to
  // the field itself.
  const MainWindow* main = platform_.mainWindow();
  QWidget* focus = main->focusWidget();
  if (edit_->isEnabled() && focus != edit_ && focus != main->menuBar() &&
      !QApplication::activePopupWidget()) {
    edit_->setFocus();
  }
}

}  // namespace

LineResult QtPlatform::read_line() {
  EditField field(*this, output(), openCount_[output_]);
  const LineResult result = editLine(field);
  if (result.status == LineStatus::Entered) main_->setFocus();
  return result;
}

}  // namespace lab
