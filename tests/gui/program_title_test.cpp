// The title screen of both programs on the offscreen platform: its panels where the grid puts
// them (exactly at 1024 x 768 too), ended by a key or a click that never reaches the time
// stepping, and the program ending cleanly when its window is closed at the start.
#include <ostream>

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>

#include "drawing_size.h"
#include "gui_support.h"
#include "program_driver.h"

namespace lab::gui {
namespace {

const QColor white(255, 255, 255);
const QColor blue(0, 0, 255);
const QColor magenta(255, 0, 255);

struct TitleCase {
  const char* name;
  const VariantData& (*variant)();
  int thirdLineX;  // grid x of the third title line
};

// Test names in listings show the case, not its bytes.
void PrintTo(const TitleCase& c, std::ostream* os) {
  *os << c.name;
}

class TitleTest : public ::testing::TestWithParam<TitleCase> {};

// A framed panel: white frame on its corners' rows and columns, blue just inside, magenta just
// outside.
void expectPanel(const QImage& image, const QRect& panel) {
  int wrong = 0;
  for (int y = panel.top(); y <= panel.bottom(); ++y) {
    wrong += image.pixelColor(panel.left(), y) != white;
    wrong += image.pixelColor(panel.right(), y) != white;
    wrong += image.pixelColor(panel.left() - 1, y) != magenta;
    wrong += image.pixelColor(panel.right() + 1, y) != magenta;
  }
  for (int x = panel.left(); x <= panel.right(); ++x) {
    wrong += image.pixelColor(x, panel.top()) != white;
    wrong += image.pixelColor(x, panel.bottom()) != white;
    wrong += image.pixelColor(x, panel.top() - 1) != magenta;
    wrong += image.pixelColor(x, panel.bottom() + 1) != magenta;
  }
  EXPECT_EQ(wrong, 0) << "panel " << panel.left() << "," << panel.top() << " - " << panel.right()
                      << "," << panel.bottom();
  // Inside along the frame (the texts keep away from it) everything is blue.
  const QRect inner = panel.adjusted(1, 1, -1, -1);
  EXPECT_EQ(countOther(image, QRect(inner.left(), inner.top(), inner.width(), 1), blue), 0);
  EXPECT_EQ(countOther(image, QRect(inner.left(), inner.bottom(), inner.width(), 1), blue), 0);
  EXPECT_EQ(countOther(image, QRect(inner.right(), inner.top(), 1, inner.height()), blue), 0);
}

// Runs a program up to its title screen and checks its panels and third title line there.
void checkTitleScreen(const TitleCase& c, const std::function<void(const QImage&, Grid)>& more) {
  ProgramRun run(c.variant());
  bool checked = false;
  run.then([&] {
       if (!run.platform().main_window_exists() || !run.image()) return false;
       const Grid g = run.grid();
       if (run.at(g.scaleX(100), g.scaleY(190)) != blue) return false;
       const QImage& image = *run.image();
       // No menu during the title screen.
       EXPECT_TRUE(run.platform().mainWindow()->menuBar()->actions().isEmpty());
       const QRect left(QPoint(g.scaleX(4), g.scaleY(4)), QPoint(g.scaleX(158), g.scaleY(196)));
       const QRect right(QPoint(g.scaleX(164), g.scaleY(4)), QPoint(g.scaleX(318), g.scaleY(196)));
       expectPanel(image, left);
       expectPanel(image, right);
       // Between the panels the background shows.
       EXPECT_EQ(
           countOther(image, QRect(QPoint(left.right() + 1, 0), QPoint(right.left() - 1, g.h - 1)),
                      magenta),
           0);
       // The third title line starts at its grid x: white letters from there, none before.
       const int x0 = g.scaleX(c.thirdLineX);
       const int fontSize = static_cast<int>(30.0 * g.w / 800);
       const QRect band(QPoint(left.left() + 1, g.scaleY(120)),
                        QPoint(left.right() - 1, g.scaleY(120) + fontSize));
       EXPECT_EQ(countColour(image, QRect(band.topLeft(), QPoint(x0 - 1, band.bottom())), white),
                 0);
       EXPECT_GT(
           countColour(image, QRect(QPoint(x0, band.top()), QPoint(x0 + 5, band.bottom())), white),
           0);
       if (more) more(image, g);
       checked = true;
       return true;
     })
      .close();
  EXPECT_EQ(run.runMain(), 0);
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_TRUE(checked);
}

TEST_P(TitleTest, PanelsLieWhereTheGridPutsThem) {
  checkTitleScreen(GetParam(), {});
}

TEST_P(TitleTest, PanelsAtTheirPixelsOnA1024By768Screen) {
  if (!atDrawingSize(1024, 768)) return;
  checkTitleScreen(GetParam(), [](const QImage& image, Grid g) {
    ASSERT_EQ(g.w, 1024);
    ASSERT_EQ(g.h, 768);
    expectPanel(image, QRect(QPoint(12, 15), QPoint(505, 752)));
    expectPanel(image, QRect(QPoint(524, 15), QPoint(1017, 752)));
  });
}

// Ends the title screen with the given action and checks that nothing of it reached the time
// stepping: the keys help comes next, and in the key wait after it no step has run.
void endTitleWith(const TitleCase& c, const std::function<void(ProgramRun&)>& action) {
  ProgramRun run(c.variant());
  std::string help;
  QImage beforeKeyWait;
  bool keyWaitChecked = false;
  run.then([&] {
       if (!run.platform().main_window_exists() || !run.image()) return false;
       const Grid g = run.grid();
       if (run.at(g.scaleX(100), g.scaleY(190)) != blue) return false;
       action(run);
       return true;
     })
      .then([&] {
        if (!run.boxShowing()) return false;
        beforeKeyWait = run.image()->copy();
        return true;
      })
      .answerBox(&help)
      .then([&] {
        // Back in the main loop's key wait: no key left over, no step taken, nothing drawn.
        if (run.boxShowing()) return false;
        EXPECT_TRUE(run.platform().mainWindow()->keys.empty());
        EXPECT_DOUBLE_EQ(run.ctx().sim.t, -0.05);
        EXPECT_EQ(run.ctx().sampleLog.t, decltype(run.ctx().sampleLog.t){});
        EXPECT_EQ(run.ctx().SwitchState, 0);
        EXPECT_EQ(*run.image(), beforeKeyWait);
        keyWaitChecked = true;
        return true;
      })
      .keys("1")
      .then([&] {
        // A key now does step: the checks above could have seen one.
        if (run.ctx().SwitchState == 0) return false;
        EXPECT_DOUBLE_EQ(run.ctx().sim.t, 0.0);
        EXPECT_NE(*run.image(), beforeKeyWait);
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_TRUE(keyWaitChecked);
  EXPECT_EQ(help,
            " Tasten <0> u. <1> \n bedienen den Schalter !\n\n Die Zeit läuft, wenn eine\n"
            " der Tasten gedrückt ist.");
}

TEST_P(TitleTest, KeyEndsItWithoutReachingTheSimulation) {
  endTitleWith(GetParam(), [](ProgramRun& run) {
    QApplication::postEvent(run.platform().mainWindow(),
                            new QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1"));
  });
}

TEST_P(TitleTest, MouseClickEndsItWithoutReachingTheSimulation) {
  endTitleWith(GetParam(), [](ProgramRun& run) {
    QWidget* surface = run.platform().windowSurface(0);
    const QPointF at(200, 200);
    const QPointF global = surface->mapToGlobal(at);
    QApplication::postEvent(surface,
                            new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                            Qt::LeftButton, Qt::NoModifier));
    QApplication::postEvent(surface, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                     Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  });
}

TEST_P(TitleTest, ClosingTheWindowAtTheTitleEndsTheProgram) {
  ProgramRun run(GetParam().variant());
  int boxes = 0;
  BoxAnswerer answerer(run.platform(), [&](QMessageBox&) { ++boxes; });
  run.then([&] {
       if (!run.platform().main_window_exists() || !run.image()) return false;
       const Grid g = run.grid();
       return run.at(g.scaleX(100), g.scaleY(190)) == blue;
     })
      .close();
  EXPECT_EQ(run.runMain(), 0);
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_EQ(boxes, 0);  // the keys help never comes
  EXPECT_FALSE(run.platform().main_window_exists());
}

TEST_P(TitleTest, ClosingTheWindowAtTheKeysHelpEndsTheProgram) {
  ProgramRun run(GetParam().variant());
  run.then([&] {
       if (!run.platform().main_window_exists() || !run.image()) return false;
       const Grid g = run.grid();
       if (run.at(g.scaleX(100), g.scaleY(190)) != blue) return false;
       QApplication::postEvent(run.platform().mainWindow(),
                               new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
       return true;
     })
      .then([&] { return run.boxShowing(); })
      .close();
  EXPECT_EQ(run.runMain(), 0);
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_FALSE(run.boxShowing());
}

INSTANTIATE_TEST_SUITE_P(Programs, TitleTest,
                         ::testing::Values(TitleCase{"coillab", coilVariant, 38},
                                           TitleCase{"caplab", capacitorVariant, 32}),
                         [](const ::testing::TestParamInfo<TitleCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace lab::gui
