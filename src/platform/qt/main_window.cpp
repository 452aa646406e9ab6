// Key characters and close requests of the main window.
#include "platform/qt/main_window.h"

#include <QApplication>
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

bool isMenuBarKey(const QKeyEvent& event) {
  return event.key() == Qt::Key_F10 && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void openMenuBarFromKeyboard(QMainWindow& window) {
  // The style's keyboard navigation of the menu bar has no public switch: the bar watches its
  // window for a lone Alt, so it is handed one, as the window system delivers it.
  QKeyEvent shortcut(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::AltModifier);
  QApplication::sendEvent(&window, &shortcut);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  QApplication::sendEvent(&window, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  QApplication::sendEvent(&window, &release);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (inputBlocked) {
    event->ignore();
    return;
  }
  if (isMenuBarKey(*event)) {
    // Held down it opens the bar once, as Alt does.
    if (!event->isAutoRepeat()) openMenuBarFromKeyboard(*this);
    event->accept();
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
