// The main window and the frames of windows 2 and 3: geometry, own attributes, text cursor,
// closing and waiting.
#include <algorithm>
#include <cmath>

#include <QMenuBar>

#include "gui_support.h"

namespace lab::gui {
namespace {

using WindowsTest = PlatformTest;

TEST_F(WindowsTest, MainWindowIsMaximizedWithItsMenuBarFromTheStart) {
  EXPECT_TRUE(platform->main_window_exists());
  EXPECT_FALSE(platform->close_requested());
  EXPECT_TRUE(platform->mainWindow()->isMaximized());
  EXPECT_TRUE(platform->mainWindow()->menuBar()->isVisible());
  EXPECT_GT(platform->mainWindow()->menuBar()->height(), 0);
  const QSize before = platform->mainWindow()->centralWidget()->size();
  platform->install_menu({"DESK |", "&Quit", "", "Umschalten - <0> oder <1> ! |", "&Hilfe", "", ""},
                         [](int) {});
  platform->process_events();
  EXPECT_EQ(platform->mainWindow()->centralWidget()->size(), before);
  EXPECT_EQ(before, QSize(platform->display_width(), platform->display_height()));
}

TEST_F(WindowsTest, CaptionIsTheWindowTitle) {
  platform->set_caption(0, "Ein- und Ausschaltvorgänge");
  EXPECT_EQ(platform->mainWindow()->windowTitle(), QString("Ein- und Ausschaltvorgänge"));
}

TEST_F(WindowsTest, FrameLiesOverTheDrawingAreaWithItsOwnImage) {
  platform->open_window(2, {20, 45, 760, 90});
  Surface* frame = platform->windowSurface(2);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->parentWidget(), platform->windowSurface(0));
  EXPECT_EQ(frame->geometry(), QRect(20, 45, 760, 90));
  EXPECT_EQ(platform->windowImage(2)->size(), QSize(760, 90));
  // New windows start white with black text.
  EXPECT_EQ(pixel(0, 0, 2), QColor(Qt::white));
  EXPECT_TRUE(platform->set_window_background(2, Magenta));
  EXPECT_EQ(pixel(759, 89, 2), qcolour(Magenta));
  EXPECT_FALSE(platform->set_window_background(5, Magenta));
}

TEST_F(WindowsTest, AttributesArePerWindow) {
  ASSERT_TRUE(platform->set_window_background(0, Magenta));
  platform->set_colour(White);
  platform->open_window(3, {10, 10, 100, 100});
  platform->set_colour(Blue);
  platform->draw_line(0, 50, 99, 50);
  platform->set_output_window(0);
  platform->draw_line(0, 300, 99, 300);
  EXPECT_EQ(pixel(50, 50, 3), qcolour(Blue));
  EXPECT_EQ(pixel(50, 300, 0), qcolour(White));
  EXPECT_EQ(pixel(50, 60, 0), qcolour(Magenta));  // the frame draws into its own image only
}

TEST_F(WindowsTest, PrintTextAdvancesTheCursorAndALineEndStartsTheNextLine) {
  platform->open_window(3, {10, 10, 400, 300});
  platform->set_font_name("mono");
  platform->set_font_size(12);
  Surface* frame = platform->windowSurface(3);
  platform->set_text_position(19, 24);
  platform->print_text("AB", false);
  EXPECT_DOUBLE_EQ(frame->attributes.textPosition.x(), 19 + platform->text_width("AB"));
  platform->print_text("C", true);
  EXPECT_DOUBLE_EQ(frame->attributes.textPosition.x(), 0.0);
  EXPECT_DOUBLE_EQ(frame->attributes.textPosition.y(), 24 + platform->line_height());
  platform->print_text("", true);
  EXPECT_DOUBLE_EQ(frame->attributes.textPosition.y(), 24 + 2 * platform->line_height());
  // Black on white: something dark now lies where "AB" was printed.
  int dark = 0;
  for (int x = 19; x < 19 + platform->text_width("AB"); ++x) {
    for (int y = 24; y < 24 + platform->line_height(); ++y) dark += pixel(x, y, 3).red() < 100;
  }
  EXPECT_GT(dark, 10);
}

TEST_F(WindowsTest, ClosingAFrameSendsOutputBackToTheMainWindow) {
  platform->open_window(2, {10, 10, 100, 50});
  platform->close_window(2);
  EXPECT_EQ(platform->windowSurface(2), nullptr);
  ASSERT_TRUE(platform->set_window_background(0, Magenta));
  platform->set_colour(White);
  platform->fill_box(0, 0, 5, 5);
  EXPECT_EQ(pixel(3, 3), qcolour(White));
  platform->close_window(2);  // harmless when not open
  platform->close_window(1);
}

TEST_F(WindowsTest, ReopeningReplacesTheWindow) {
  platform->open_window(2, {10, 10, 100, 50});
  QPointer<Surface> first = platform->windowSurface(2);
  platform->open_window(2, {30, 30, 60, 20});
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(platform->windowSurface(2)->geometry(), QRect(30, 30, 60, 20));
}

TEST_F(WindowsTest, ClosingTheMainWindowEndsAWaitLoop) {
  bool timedOut = false;
  // The timers live with the main window, so none fires into a later test.
  QTimer::singleShot(30, platform->mainWindow(), [&] { platform->mainWindow()->close(); });
  QTimer::singleShot(10000, platform->mainWindow(), [&] {
    timedOut = true;
    platform->close_window(0);
  });
  int passes = 0;
  while (platform->main_window_exists()) {
    platform->wait_for_event();
    ++passes;
  }
  EXPECT_FALSE(timedOut);
  EXPECT_TRUE(platform->close_requested());
  EXPECT_FALSE(platform->mainWindow()->isVisible());
  // Every later wait returns at once.
  platform->wait_for_event();
  EXPECT_LT(passes, 1000);
}

TEST_F(WindowsTest, ClosingAtShutDownIsNotACloseRequest) {
  for (int window = 0; window <= 3; ++window) platform->close_window(window);
  platform->yield_once();
  EXPECT_FALSE(platform->main_window_exists());
  EXPECT_FALSE(platform->close_requested());
}

TEST_F(WindowsTest, ResizedWindowShowsTheImageScaledAndMapsTheMouseBack) {
  QWidget* area = platform->windowSurface(0);
  const QSize original = area->size();
  ASSERT_TRUE(platform->set_window_background(0, Magenta));
  platform->set_colour(White);
  platform->draw_line(0, 300, original.width() - 1, 300);
  platform->mainWindow()->showNormal();
  platform->mainWindow()->resize(original.width() / 2, original.height() / 2 + 40);
  ASSERT_TRUE(waitUntil([&] { return area->width() < original.width(); }));
  // Painted again at the shown size, whole and in its own proportions, centred.
  const double s = std::min(static_cast<double>(area->width()) / original.width(),
                            static_cast<double>(area->height()) / original.height());
  const QImage* shown = platform->windowImage(0);
  EXPECT_NEAR(shown->width(), original.width() * s, 1.0);
  EXPECT_NEAR(shown->height(), original.height() * s, 1.0);
  // The one-pixel line stays one pixel, through the pixel under its centre.
  const int row = static_cast<int>(std::floor(300.5 * s));
  EXPECT_EQ(shown->pixelColor(shown->width() / 2, row), QColor(Qt::white));
  EXPECT_EQ(shown->pixelColor(shown->width() / 2, row - 1), qcolour(Magenta));
  EXPECT_EQ(shown->pixelColor(shown->width() / 2, row + 1), qcolour(Magenta));
  const QPointF origin((area->width() - original.width() * s) / 2,
                       (area->height() - original.height() * s) / 2);
  mouseEvent(QEvent::MouseMove, (origin + QPointF(200, 300) * s).toPoint(), Qt::NoButton,
             Qt::NoButton);
  EXPECT_NEAR(platform->mouse_position().x, 200, 2);
  EXPECT_NEAR(platform->mouse_position().y, 300, 2);
}

}  // namespace
}  // namespace lab::gui
