// Whole programs on the offscreen platform: title screen, keys help, key characters with
// auto-repeat stepping the circuit, curve pixels where the plot mapping puts them, and blank
// panels back after the wrap at the right edge.
#include <cmath>
#include <functional>

#include <QApplication>
#include <QKeyEvent>

#include "gui_support.h"
#include "shell/main_procedure.h"
#include "variants/variant_data.h"

namespace lab::gui {
namespace {

// Independent arithmetic of the layout and the plot mapping for a display size.
struct Geometry {
  int w;
  int h;
  int scaleX(int v) const { return v * w / 320; }
  int scaleY(int v) const { return v * h / 200; }
  int zero(int top, int bottom) const {
    return static_cast<int>(std::nearbyint((top + bottom) * 0.5));
  }
  int voltageZero() const { return zero(scaleY(2), scaleY(92)); }
  int currentZero() const { return zero(scaleY(95), scaleY(186)); }
  int plotX(double t) const { return static_cast<int>(std::nearbyint(t * 10 * w / 320.0 + 10)); }
  // Nothing when the value falls on a rounding tie, where last-bit differences decide.
  std::optional<int> plotY(double v, int zeroY) const {
    const long a = std::lround(v * -300);
    const long b = a * h / 200;
    const double c = b * 0.01 + zeroY;
    if (std::abs(c - std::floor(c) - 0.5) < 1e-6) return std::nullopt;
    return static_cast<int>(std::nearbyint(c));
  }
};

struct ProgramCase {
  const char* name;
  std::function<const VariantData&()> variant;
  // Closed forms of the Euler recurrence with the start-up values, switch on, dt 0.05:
  // the voltage of the upper panel and the current of the lower panel at step k.
  std::function<double(int)> voltage;
  std::function<double(int)> current;
};

class ProgramRunTest : public ::testing::TestWithParam<ProgramCase> {};

void postKeys(QWidget* window, int count) {
  for (int i = 0; i < count; ++i) {
    QApplication::postEvent(window,
                            new QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1", i > 0));
  }
}

TEST_P(ProgramRunTest, KeysStepTheCircuitAndTheCurvesWrap) {
  const ProgramCase& c = GetParam();
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  QtPlatform platform(argc, argv, c.name);
  BoxAnswerer answerer(platform);
  const QColor white(255, 255, 255);
  const QColor blue(0, 0, 255);
  const QColor magenta(255, 0, 255);
  Geometry g{0, 0};
  const auto at = [&](int x, int y) { return platform.windowImage(0)->pixelColor(x, y); };

  int stage = 0;
  int stepsChecked = 0;
  int erasedChecked = 0;
  int newSweepChecked = 0;
  bool titleSeen = false;
  Driver driver([&] {
    MainWindow* window = platform.mainWindow();
    if (!platform.main_window_exists()) return false;
    switch (stage) {
      case 0:  // the title screen waits for a key
        g = {platform.display_width(), platform.display_height()};
        titleSeen =
            at(g.scaleX(100), g.scaleY(190)) == blue && at(g.scaleX(161), g.scaleY(100)) == magenta;
        postKeys(window, 1);
        stage = 1;
        return false;
      case 1:  // the keys help box was answered: hold key 1 for 20 characters
        if (answerer.texts.empty() || platform.currentMessageBox()) return false;
        postKeys(window, 20);
        stage = 2;
        return false;
      case 2: {
        if (!window->keys.empty()) return false;
        // The closed switch is spoken through the drawing's accessible description.
        EXPECT_EQ(window->centralWidget()->accessibleDescription().toStdString(),
                  c.variant().switchOnText);
        for (int k = 2; k < 20; ++k) {
          if (k % 4 == 2) continue;  // x on a rounding tie
          const int x = g.plotX(k * 0.05);
          const auto yU = g.plotY(c.voltage(k), g.voltageZero());
          const auto yI = g.plotY(c.current(k), g.currentZero());
          if (yU) {
            EXPECT_EQ(at(x, *yU), white) << "voltage step " << k;
          }
          if (yI) {
            EXPECT_EQ(at(x, *yI), white) << "current step " << k;
          }
          ++stepsChecked;
        }
        // Not yet reached, and nothing in the gap between the panels.
        for (int k : {25, 29, 33}) {
          const auto yI = g.plotY(c.current(k), g.currentZero());
          if (yI) {
            EXPECT_EQ(at(g.plotX(k * 0.05), *yI), blue) << "step " << k;
          }
        }
        for (int x = 12; x < g.plotX(1.0); ++x) {
          EXPECT_EQ(at(x, (g.scaleY(92) + g.scaleY(95)) / 2), magenta) << x;
        }
        // Far past the right edge: the prompt takes one key, the next sweep the rest.
        postKeys(window, 300);
        stage = 3;
        return false;
      }
      case 3: {
        if (!window->keys.empty()) return false;
        for (int k = 40; k < 300; k += 20) {
          const int x = g.plotX(k * 0.05);
          const auto yU = g.plotY(c.voltage(k), g.voltageZero());
          const auto yI = g.plotY(c.current(k), g.currentZero());
          if (yU && *yU != g.voltageZero()) {
            EXPECT_EQ(at(x, *yU), blue) << "old voltage step " << k;
            ++erasedChecked;
          }
          if (yI && *yI != g.currentZero()) {
            EXPECT_EQ(at(x, *yI), blue) << "old current step " << k;
            ++erasedChecked;
          }
        }
        // The new sweep goes on from the final state, at the left edge again.
        for (int j : {3, 4, 5}) {
          const auto yU = g.plotY(c.voltage(1000), g.voltageZero());
          const auto yI = g.plotY(c.current(1000), g.currentZero());
          if (yU) {
            EXPECT_EQ(at(g.plotX(j * 0.05), *yU), white) << "new voltage " << j;
          }
          if (yI) {
            EXPECT_EQ(at(g.plotX(j * 0.05), *yI), white) << "new current " << j;
          }
          ++newSweepChecked;
        }
        window->close();
        return true;
      }
    }
    return false;
  });
  bool timedOut = false;
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    timedOut = true;
    if (platform.mainWindow()) platform.mainWindow()->close();
  });
  watchdog.start(60000);

  EXPECT_EQ(runMainProcedure(platform, c.variant()), 0);
  EXPECT_FALSE(timedOut);
  EXPECT_TRUE(driver.done());
  EXPECT_TRUE(titleSeen);
  ASSERT_GE(answerer.texts.size(), 1u);
  EXPECT_EQ(answerer.texts[0],
            " Tasten <0> u. <1> \n bedienen den Schalter !\n\n Die Zeit läuft, wenn eine\n"
            " der Tasten gedrückt ist.");
  EXPECT_GT(stepsChecked, 10);
  EXPECT_GT(erasedChecked, 10);
  EXPECT_EQ(newSweepChecked, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramRunTest,
    ::testing::Values(ProgramCase{"coillab", coilVariant,
                                  [](int k) { return -10 * std::pow(0.95, k); },
                                  [](int k) { return 10 * (1 - std::pow(0.95, k)); }},
                      ProgramCase{"caplab", capacitorVariant,
                                  [](int k) { return 10 * (1 - std::pow(0.95, k)); },
                                  [](int k) { return 10 * std::pow(0.95, k); }}),
    [](const ::testing::TestParamInfo<ProgramCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lab::gui
