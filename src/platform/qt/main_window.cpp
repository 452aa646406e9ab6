// Key characters and close requests of the main window.
#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace lab {

MainWindow::MainWindow(std::function<void()> onCloseRequest)
    : onCloseRequest_(std::move(onCloseRequest)) {
  setFocusPolicy(Qt::StrongFocus);
}

std::string keyEntry(int key, const QString& text) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
      return {};
    default:
      break;
  }
  if (text.isEmpty()) return "{key}";
  return text.toStdString();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (inputBlocked) {
    event->ignore();
    return;
  }
  std::string entry = keyEntry(event->key(), event->text());
  if (!entry.empty()) keys.push_back(std::move(entry));
  event->accept();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing ends the program: no question, nothing to save.
  event->accept();
  onCloseRequest_();
}

}  // namespace lab
