// The start-up answerer: it acts from a timer, so it runs inside whatever wait is current.
#include "startup_driver.h"

#include <QMessageBox>
#include <QPushButton>

namespace lab::bench {

namespace {
constexpr int PollMs = 5;
}

StartupAnswerer::StartupAnswerer(QtPlatform& platform) : platform_(platform) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (QMessageBox* box = platform_.currentMessageBox(); box && box->isVisible()) {
      if (box->defaultButton()) {
        ++boxes_;
        box->defaultButton()->click();
      }
      return;
    }
    MainWindow* main = platform_.mainWindow();
    if (boxes_ == 0 && main && platform_.main_window_exists() && main->keys.empty()) {
      main->keys.push_back(" ");
    }
  });
  timer_.start(PollMs);
}

bool StartupAnswerer::boxShowing() const {
  const QMessageBox* box = platform_.currentMessageBox();
  return box && box->isVisible();
}

}  // namespace lab::bench
