// The Qt platform's menu bar, built from the program's menu table, and the hand-off of a menu
// choice to the program, nested inside whatever waits.
#include <QMenuBar>

#include "platform/qt/qt_platform.h"

namespace lab {

void QtPlatform::install_menu(const std::vector<std::string>& table, MenuHandler handler) {
  menuHandler_ = std::move(handler);
  if (!main_) return;
  QMenuBar* bar = main_->menuBar();
  bar->clear();
  // Per group a title, its entries and an empty text; an empty title ends the table.
  std::size_t i = 0;
  while (i < table.size() && !table[i].empty()) {
    QMenu* menu = bar->addMenu(QString::fromStdString(table[i]));
    for (++i; i < table.size() && !table[i].empty(); ++i) {
      // Dividers are entries with a command of their own, not separators.
      QAction* action = menu->addAction(QString::fromStdString(table[i]));
      const int index = static_cast<int>(i);
      // Queued: the command runs from the wait that processes events, not inside the menu's
      // own event handling.
      QObject::connect(
          action, &QAction::triggered, main_, [this, index] { runMenuChoice(index); },
          Qt::QueuedConnection);
    }
    ++i;
  }
}

void QtPlatform::runMenuChoice(int index) {
  if (!main_window_exists() || boxDepth_ > 0 || !menuHandler_) return;
  printer_.forgetFailure();
  menuHandler_(index);
}

}  // namespace lab
