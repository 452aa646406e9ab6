// Key characters and mouse state as the main window records them.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>

#include "gui_support.h"

namespace lab::gui {
namespace {

using KeysMouseTest = PlatformTest;

TEST_F(KeysMouseTest, EveryPressAndEveryAutoRepeatIsOneEntry) {
  pressKey(Qt::Key_1, "1");
  for (int i = 0; i < 4; ++i) pressKey(Qt::Key_1, "1", true);
  pressKey(Qt::Key_0, "0");
  pressKey(Qt::Key_0, "0", true);
  std::vector<std::string> read;
  for (std::string k = platform->read_key(); !k.empty(); k = platform->read_key()) {
    read.push_back(k);
  }
  EXPECT_EQ(read, (std::vector<std::string>{"1", "1", "1", "1", "1", "0", "0"}));
  EXPECT_EQ(platform->read_key(), "");
}

struct KeyCase {
  int key;
  QString text;
  std::string entry;  // "" when nothing is queued
};

TEST_F(KeysMouseTest, EntriesPerKind) {
  const std::vector<KeyCase> cases = {
      {Qt::Key_A, "a", "a"},     {Qt::Key_Return, "\r", "\r"},   {Qt::Key_Left, "", "{key}"},
      {Qt::Key_F5, "", "{key}"}, {Qt::Key_Shift, "", ""},        {Qt::Key_Control, "", ""},
      {Qt::Key_Alt, "", ""},     {Qt::Key_Adiaeresis, "ä", "ä"},
  };
  for (const auto& c : cases) {
    pressKey(c.key, c.text);
    EXPECT_EQ(platform->read_key(), c.entry) << c.key;
    EXPECT_EQ(platform->read_key(), "");
  }
}

TEST_F(KeysMouseTest, KeysWaitingInTheEventQueueAreReadWithoutWaiting) {
  QKeyEvent* press = new QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1", true);
  QApplication::postEvent(platform->mainWindow(), press);
  EXPECT_EQ(platform->read_key(), "1");
}

TEST_F(KeysMouseTest, PositionIsInDrawingCoordinates) {
  mouseEvent(QEvent::MouseMove, QPoint(175, 231), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(platform->mouse_position().x, 175);
  EXPECT_EQ(platform->mouse_position().y, 231);
  EXPECT_EQ(platform->mouse_buttons(), 0);
}

TEST_F(KeysMouseTest, ButtonsHeldAndAClickBetweenTwoReads) {
  mouseEvent(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(platform->mouse_buttons(), LeftButton);
  mouseEvent(QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton,
             Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(platform->mouse_buttons(), LeftButton | RightButton);
  mouseEvent(QEvent::MouseButtonRelease, QPoint(10, 10), Qt::LeftButton, Qt::RightButton);
  mouseEvent(QEvent::MouseButtonRelease, QPoint(10, 10), Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(platform->mouse_buttons(), 0);
  // Pressed and released before anyone looked: the click is seen once.
  mouseEvent(QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
  mouseEvent(QEvent::MouseButtonRelease, QPoint(20, 20), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(platform->mouse_buttons(), LeftButton);
  EXPECT_EQ(platform->mouse_buttons(), 0);
}

TEST_F(KeysMouseTest, MouseOverAFrameReportsMainWindowCoordinates) {
  platform->open_window(3, {40, 80, 310, 200});
  mouseEvent(QEvent::MouseMove, QPoint(5, 7), Qt::NoButton, Qt::NoButton, 3);
  EXPECT_EQ(platform->mouse_position().x, 45);
  EXPECT_EQ(platform->mouse_position().y, 87);
}

TEST_F(KeysMouseTest, AShownPointTakesThePointerThereUntilTheMouseMoves) {
  platform->show_point(MousePosition{175, 231});
  // the drawing is shown at its own size here: the pointer is on the pixel itself
  EXPECT_EQ(platform->windowSurface(0)->mapFromGlobal(QCursor::pos()), QPoint(175, 231));
  EXPECT_EQ(platform->mouse_position().x, 175);
  EXPECT_EQ(platform->mouse_position().y, 231);
  QCursor::setPos(QCursor::pos() + QPoint(4, 0));
  mouseEvent(QEvent::MouseMove, QPoint(179, 231), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(platform->mouse_position().x, 179);
}

TEST_F(KeysMouseTest, CursorShapes) {
  platform->set_cursor(CursorShape::CrossHair);
  EXPECT_EQ(platform->windowSurface(0)->cursor().shape(), Qt::CrossCursor);
  platform->set_cursor(CursorShape::Arrow);
  EXPECT_EQ(platform->windowSurface(0)->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace lab::gui
