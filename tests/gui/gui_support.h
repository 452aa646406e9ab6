// Helpers of the GUI tests: a platform with its main window open, waits with a time limit,
// key and mouse events, and a helper that answers message boxes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QColor>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include "platform/qt/qt_platform.h"

namespace lab::gui {

inline constexpr Colour White{255, 255, 255};
inline constexpr Colour Blue{0, 0, 255};
inline constexpr Colour Magenta{255, 0, 255};
inline constexpr Colour Black{0, 0, 0};

// Processes events until the condition holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs an action repeatedly from the event loop until it returns true (or the time is up),
// so that it acts inside whatever wait the code under test is in.
class Driver {
 public:
  explicit Driver(std::function<bool()> step, int intervalMs = 10);
  bool done() const { return done_; }

 private:
  std::function<bool()> step_;
  QTimer timer_;
  bool done_ = false;
};

// Answers every message box that shows with its "OK" button, keeping what it showed.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(QtPlatform& platform, std::function<void(QMessageBox&)> onShow = {});
  std::vector<std::string> texts;
  std::vector<QMessageBox::Icon> icons;
  std::vector<QStringList> buttons;

 private:
  QtPlatform& platform_;
  std::function<void(QMessageBox&)> onShow_;
  QTimer timer_;
};

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QColor pixel(int x, int y, int window = 0) const;
  static QColor qcolour(Colour c) { return QColor(c.red, c.green, c.blue); }
  void pressKey(int key, const QString& text, bool autoRepeat = false);
  void mouseEvent(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
                  int window = 0);

  std::unique_ptr<QtPlatform> platform;
  int width = 0;
  int height = 0;
};

}  // namespace lab::gui
