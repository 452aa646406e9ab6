// The run-time stop: a critical box with the German report, then the end of the program with
// status 1.
#include <iostream>

#include "gui_support.h"

namespace lab::gui {
namespace {

using RuntimeStopDeathTest = PlatformTest;

TEST_F(RuntimeStopDeathTest, ReportsInABoxAndEndsWithStatusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        BoxAnswerer answerer(*platform, [](QMessageBox& box) {
          std::cerr << "[" << box.text().toStdString() << "] icon " << box.icon() << std::endl;
        });
        platform->fail("Die Hintergrundfarbe kann nicht gesetzt werden.");
      },
      ::testing::ExitedWithCode(1),
      "\\[Laufzeitfehler: Die Hintergrundfarbe kann nicht gesetzt werden.\\] icon 3");
}

}  // namespace
}  // namespace lab::gui
