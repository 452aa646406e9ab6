// The Qt platform's line input: an edit field at the text position of the output window, in
// its font and colours, read until Return.
#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QMenuBar>
#include <QPalette>

#include "platform/qt/fonts.h"
#include "platform/qt/line_input.h"
#include "platform/qt/qt_platform.h"

namespace lab {

LineResult QtPlatform::read_line() {
  if (!main_window_exists()) return {LineStatus::WindowClosed, ""};
  const int window = output_;
  const int opened = openCount_[window];
  Surface* surface = output();
  if (!surface) return {LineStatus::Interrupted, ""};

  const DrawingAttributes& a = surface->attributes;
  const double scale = surface->scaleY();
  QPointer<LineInput> edit = new LineInput(surface);
  edit->setFrame(false);
  edit->setTextMargins(0, 0, 0, 0);
  edit->setFont(makeFont(a.fontName, a.fontSize * scale, edit->logicalDpiY()));
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, a.back);
  palette.setColor(QPalette::Text, a.fore);
  edit->setPalette(palette);
  const QRect at = surface->toWidget(QRectF(a.textPosition, QSizeF(1.0, surface->lineHeight())));
  const int height = std::max(at.height(), edit->fontMetrics().height() + 2);
  edit->setGeometry(at.x(), at.y(), std::max(surface->width() - at.x(), 8), height);
  edit->show();
  edit->setFocus();

  while (true) {
    if (!main_window_exists()) {
      delete edit.data();
      return {LineStatus::WindowClosed, ""};
    }
    if (!edit || openCount_[window] != opened) {
      delete edit.data();
      return {LineStatus::Interrupted, ""};
    }
    if (edit->entered()) {
      LineResult result{LineStatus::Entered, edit->text().toStdString()};
      delete edit.data();
      main_->setFocus();
      return result;
    }
    // Back from a nested command, the field takes the keys again; while the menu bar is opened
    // from the keyboard it keeps them, and it gives them back to the field itself.
    QWidget* focus = main_->focusWidget();
    if (edit->isEnabled() && focus != edit && focus != main_->menuBar() &&
        !QApplication::activePopupWidget()) {
      edit->setFocus();
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

}  // namespace lab
