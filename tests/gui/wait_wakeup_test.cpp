// A wait wakes for input, timers and closing, never for the repaint of what the program drew.
#include <QTimer>

#include "gui_support.h"

namespace lab::gui {
namespace {

class WaitWakeupTest : public PlatformTest {};

TEST_F(WaitWakeupTest, DrawingInsideAWaitLoopDoesNotWakeIt) {
  // Mouse measuring draws its readout on every pass; its own repaint must not end the wait.
  // The timers live with the main window, so none fires into a later test.
  QTimer::singleShot(200, platform->mainWindow(), [&] { platform->mainWindow()->close(); });
  int passes = 0;
  while (platform->main_window_exists() && passes < 10000) {
    platform->draw_text(40, 40, "3.3 V   ");
    platform->wait_for_event();
    ++passes;
  }
  EXPECT_FALSE(platform->main_window_exists());
  EXPECT_LT(passes, 20);
}

TEST_F(WaitWakeupTest, AKeyQueuedFromATimerEndsTheWait) {
  QTimer::singleShot(20, platform->mainWindow(), [&] { pressKey(Qt::Key_1, QStringLiteral("1")); });
  QTimer::singleShot(5000, platform->mainWindow(), [&] { platform->close_window(0); });
  platform->draw_line(0, 0, 50, 50);
  while (platform->main_window_exists()) {
    if (platform->read_key() == "1") break;
    platform->wait_for_event();
  }
  EXPECT_TRUE(platform->main_window_exists());
}

}  // namespace
}  // namespace lab::gui
