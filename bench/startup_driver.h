// Answers the start-up of a program on the Qt platform from the event loop: a key for the
// title screen's prompt and "OK" for every message box.
#pragma once

#include <QTimer>

#include "platform/qt/qt_platform.h"

namespace lab::bench {

class StartupAnswerer {
 public:
  explicit StartupAnswerer(QtPlatform& platform);
  // Boxes answered so far; after the first one (the keys help) no more keys are fed.
  int boxesAnswered() const { return boxes_; }
  bool boxShowing() const;

 private:
  QtPlatform& platform_;
  QTimer timer_;
  int boxes_ = 0;
};

}  // namespace lab::bench
