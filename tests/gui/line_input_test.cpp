// The line input of the dialogs: an edit field at the text position, ended by Return, with
// menu commands running nested while it waits.
#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "gui_support.h"

namespace lab::gui {
namespace {

class LineInputTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    platform->open_window(2, {20, 45, 700, 90});
    platform->set_window_background(2, Magenta);
    platform->set_font_size(30);
    platform->set_colour(Black);
    platform->set_back_colour(Magenta);
    platform->set_text_position(2, 8);
    platform->print_text("Widerstand  R  = < 1 kOhm >    1", false);
    platform->set_text_position(
        2 + static_cast<int>(platform->text_width("Widerstand  R  = < 1 kOhm >")), 8);
  }
  QLineEdit* field() const {
    Surface* frame = platform->windowSurface(2);
    return frame ? frame->findChild<QLineEdit*>() : nullptr;
  }
  static void type(QWidget* target, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(target, &press);
    }
  }
  static void pressReturn(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(target, &press);
  }
};

TEST_F(LineInputTest, ReturnsTheTypedLine) {
  QRect fieldGeometry;
  bool focused = false;
  Driver typist([&] {
    QLineEdit* edit = field();
    if (!edit) return false;
    fieldGeometry = edit->geometry();
    focused = platform->mainWindow()->focusWidget() == edit;
    type(edit, "0,25");
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(edit, &backspace);
    type(edit, "5");
    pressReturn(edit);
    return true;
  });
  const LineResult result = platform->read_line();
  EXPECT_EQ(result.status, LineStatus::Entered);
  EXPECT_EQ(result.text, "0,25");
  EXPECT_TRUE(focused);
  // The field starts at the text position and reaches the window's right edge.
  const int x = 2 + static_cast<int>(platform->text_width("Widerstand  R  = < 1 kOhm >"));
  EXPECT_EQ(fieldGeometry.left(), x);
  EXPECT_EQ(fieldGeometry.right(), 699);
  EXPECT_NEAR(fieldGeometry.top(), 8, 1);
  // The keys went to the field, not to the key queue; the field is gone.
  EXPECT_EQ(platform->read_key(), "");
  EXPECT_EQ(field(), nullptr);
}

TEST_F(LineInputTest, TheFieldFollowsItsPlaceWhenTheWindowIsResized) {
  const QSize original = platform->windowSurface(0)->size();
  QRect before;
  QRect after;
  double scale = 0.0;
  Driver resizer([&] {
    QLineEdit* edit = field();
    if (!edit) return false;
    if (before.isNull()) {
      before = edit->geometry();
      platform->mainWindow()->showNormal();
      platform->mainWindow()->resize(original.width() / 2, original.height() / 2 + 40);
      return false;
    }
    const QSize area = platform->windowSurface(0)->size();
    if (area.width() >= original.width()) return false;
    scale = std::min(static_cast<double>(area.width()) / original.width(),
                     static_cast<double>(area.height()) / original.height());
    after = edit->geometry();
    pressReturn(edit);
    return true;
  });
  platform->read_line();
  // Within its window, which shrank with the drawing, the field keeps its place in proportion.
  ASSERT_GT(scale, 0.0);
  EXPECT_NEAR(after.left(), before.left() * scale, 1.5);
  EXPECT_NEAR(after.top(), before.top() * scale, 1.5);
  EXPECT_NEAR(after.right() + 1, 700 * scale, 1.5);
}

TEST_F(LineInputTest, TabAndShiftTabStayInTheField) {
  std::vector<bool> stayed;
  Driver typist([&] {
    QLineEdit* edit = field();
    if (!edit) return false;
    for (const auto modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
      QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, modifiers, "\t");
      QApplication::sendEvent(edit, &tab);
      stayed.push_back(platform->mainWindow()->focusWidget() == edit);
    }
    type(platform->mainWindow()->focusWidget(), "7");
    pressReturn(edit);
    return true;
  });
  const LineResult result = platform->read_line();
  EXPECT_EQ(result.text, "7");
  EXPECT_EQ(stayed, (std::vector<bool>{true, true}));
}

TEST_F(LineInputTest, EmptyLine) {
  Driver typist([&] {
    if (!field()) return false;
    pressReturn(field());
    return true;
  });
  const LineResult result = platform->read_line();
  EXPECT_EQ(result.status, LineStatus::Entered);
  EXPECT_EQ(result.text, "");
}

TEST_F(LineInputTest, ClosingTheMainWindowEndsTheInput) {
  Driver closer([&] {
    if (!field()) return false;
    type(field(), "3");
    platform->mainWindow()->close();
    return true;
  });
  const LineResult result = platform->read_line();
  EXPECT_EQ(result.status, LineStatus::WindowClosed);
  EXPECT_FALSE(platform->main_window_exists());
}

TEST_F(LineInputTest, NestedCommandThatReopensTheWindowInterruptsTheInput) {
  std::vector<int> chosen;
  platform->install_menu({"BAUTEILE |", "&Widerstand R", "", ""}, [&](int index) {
    chosen.push_back(index);
    platform->open_window(2, {20, 45, 700, 90});
    platform->close_window(2);
  });
  Driver chooser([&] {
    if (!field()) return false;
    platform->mainWindow()->menuBar()->actions().at(0)->menu()->actions().at(0)->trigger();
    return true;
  });
  const LineResult result = platform->read_line();
  EXPECT_EQ(result.status, LineStatus::Interrupted);
  EXPECT_EQ(chosen, std::vector<int>{1});
}

TEST_F(LineInputTest, NestedKeyWaitGetsTheKeysAndTheFieldGetsThemBackAfterwards) {
  std::string nestedKey;
  platform->install_menu({"AUSGABE |", "Tabelle &zeigen", "", ""}, [&](int) {
    // A nested prompt waits for a key in the main window's queue.
    Driver presser([&] {
      QWidget* focus = platform->mainWindow()->focusWidget();
      if (!focus || dynamic_cast<QLineEdit*>(focus)) return false;
      QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
      QApplication::sendEvent(focus, &press);
      return true;
    });
    while (nestedKey.empty() && platform->main_window_exists()) {
      nestedKey = platform->read_key();
      if (nestedKey.empty()) platform->wait_for_event();
    }
    platform->set_output_window(2);
  });
  int stage = 0;
  Driver driver([&] {
    if (!field()) return false;
    if (stage == 0) {
      platform->mainWindow()->menuBar()->actions().at(0)->menu()->actions().at(0)->trigger();
      stage = 1;
      return false;
    }
    if (nestedKey.empty() || platform->mainWindow()->focusWidget() != field()) return false;
    type(field(), "7");
    pressReturn(field());
    return true;
  });
  const LineResult result = platform->read_line();
  EXPECT_EQ(nestedKey, "x");
  EXPECT_EQ(result.status, LineStatus::Entered);
  EXPECT_EQ(result.text, "7");
}

// Alt and F10 open the menu bar from the keyboard, in the field's wait and in the main window.
TEST_F(LineInputTest, AltOrF10OpensTheMenuBarAndTheFieldGoesOnAfterwards) {
  int started = 0;
  platform->install_menu({"DESK |", "(Neu-)&Start", "", ""}, [&](int) {
    ++started;
    platform->set_output_window(2);
  });
  QMenuBar* bar = platform->mainWindow()->menuBar();
  // A key as the window system delivers it: the shortcut check first, then the key itself.
  auto send = [](QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers) {
    if (type == QEvent::KeyPress) {
      QKeyEvent shortcut(QEvent::ShortcutOverride, key, modifiers);
      QApplication::sendEvent(target, &shortcut);
    }
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(target, &event);
  };
  auto focus = [&] { return platform->mainWindow()->focusWidget(); };
  auto opened = [&] { return bar->activeAction() != nullptr && focus() == bar; };
  const struct {
    const char* name;
    int key;
    Qt::KeyboardModifiers held;  // the modifiers while the key is down
  } openers[] = {{"Alt", Qt::Key_Alt, Qt::AltModifier}, {"F10", Qt::Key_F10, Qt::NoModifier}};
  for (const auto& opener : openers) {
    SCOPED_TRACE(opener.name);
    // The offscreen platform leaves no window active after a popup menu closed.
    platform->mainWindow()->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == platform->mainWindow(); }));
    auto tap = [&](QWidget* target) {
      send(target, QEvent::KeyPress, opener.key, opener.held);
      send(target, QEvent::KeyRelease, opener.key, Qt::NoModifier);
    };
    const int before = started;
    // Each step runs from the field's wait, which thus has its turn between the keys.
    int stage = 0;
    int waits = 0;
    constexpr int MaxWaits = 500;  // steps of 10 ms
    bool openedInTheField = false;
    Driver driver([&] {
      if (!field()) return false;
      switch (stage++) {
        case 0:  // the key alone
          tap(focus());
          return false;
        case 1:  // Down opens the group
          openedInTheField = opened();
          send(focus(), QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
          return false;
        case 2:  // Return chooses its entry
          if (QWidget* popup = QApplication::activePopupWidget()) {
            send(popup, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            return false;
          }
          pressReturn(field());  // no menu opened: the field ends, and the checks below fail
          return true;
        default:
          if (started == before || focus() != field()) {
            if (++waits < MaxWaits) {
              --stage;
              return false;
            }
            pressReturn(field());  // the field never got the keys back: the checks below fail
            return true;
          }
          type(field(), "7");
          pressReturn(field());
          return true;
      }
    });
    const LineResult result = platform->read_line();
    EXPECT_TRUE(openedInTheField);
    EXPECT_EQ(started, before + 1);
    EXPECT_EQ(result.status, LineStatus::Entered);
    EXPECT_EQ(result.text, "7");

    // The same from the main window, which has the keys again; none of them is queued.
    ASSERT_EQ(focus(), platform->mainWindow());
    tap(focus());
    EXPECT_TRUE(opened());
    send(focus(), QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    send(QApplication::activePopupWidget(), QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(waitUntil([&] { return started == before + 2; }));
    EXPECT_TRUE(waitUntil([&] { return focus() == platform->mainWindow(); }));
    EXPECT_EQ(platform->read_key(), "");
  }
}

}  // namespace
}  // namespace lab::gui
