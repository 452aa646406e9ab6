// The program's main window: menu bar, drawing area, the queue of key characters and the
// handling of its close button.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include <QMainWindow>

namespace lab {

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(std::function<void()> onCloseRequest);

  // One entry per key press and per auto-repeat: the key's text, or "{key}" without one.
  std::deque<std::string> keys;
  // While a message box shows, keys and clicks must not reach the program.
  bool inputBlocked = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  std::function<void()> onCloseRequest_;
};

// The queue entry of a key press; empty for a bare modifier, which is not queued.
std::string keyEntry(int key, const QString& text);

// F10 opens the menu bar from the keyboard, as a lone Alt does; it is never a key character.
bool isMenuBarKey(const QKeyEvent& event);
void openMenuBarFromKeyboard(QMainWindow& window);

}  // namespace lab
