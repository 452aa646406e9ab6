// Key handling of the line input's edit field.
#include "platform/qt/line_input.h"

#include <algorithm>
#include <utility>

#include <QKeyEvent>

#include "platform/qt/fonts.h"
#include "platform/qt/main_window.h"
#include "platform/qt/surface.h"

namespace lab {

LineInput::LineInput(Surface* surface, const QRectF& place, std::string fontName, double fontSize)
    : QLineEdit(surface),
      surface_(surface),
      place_(place),
      fontName_(std::move(fontName)),
      fontSize_(fontSize) {
  setFrame(false);
  setTextMargins(0, 0, 0, 0);
}

void LineInput::fit() {
  setFont(makeFont(fontName_, fontSize_ * surface_->shownScale(), logicalDpiY()));
  const QRect at = surface_->toWidget(place_);
  const int height = std::max(at.height(), fontMetrics().height() + 2);
  setGeometry(at.x(), at.y(), std::max(surface_->width() - at.x(), 8), height);
}

void LineInput::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    entered_ = true;
  } else if (isMenuBarKey(*event)) {
    auto* main = qobject_cast<QMainWindow*>(window());
    if (main && !event->isAutoRepeat()) openMenuBarFromKeyboard(*main);
  } else {
    QLineEdit::keyPressEvent(event);
  }
  // Keys the field does not use must not travel on to the main window's key queue.
  event->accept();
}

}  // namespace lab
