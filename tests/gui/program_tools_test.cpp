// The tools of both running programs: the table window holding every row, the schematic
// pictures filling their rectangle, and mouse measuring writing its readings where they belong
// until both buttons are held.
#include <ostream>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>

#include "drawing_size.h"
#include "program_driver.h"

namespace lab::gui {
namespace {

const QColor white(255, 255, 255);
const QColor blue(0, 0, 255);
const QColor magenta(255, 0, 255);

struct ProgramCase {
  const char* name;
  const VariantData& (*variant)();
  int tableRows;
};

// Test names in listings show the case, not its bytes.
void PrintTo(const ProgramCase& c, std::ostream* os) {
  *os << c.name;
}

class ToolsTest : public ::testing::TestWithParam<ProgramCase> {};

// Bands of pixel rows that hold something besides the background, top to bottom.
std::vector<std::pair<int, int>> textBands(const QImage& image, const QColor& background) {
  std::vector<std::pair<int, int>> bands;
  bool inside = false;
  for (int y = 0; y < image.height(); ++y) {
    const bool ink = countOther(image, QRect(0, y, image.width(), 1), background) > 0;
    if (ink && !inside) bands.push_back({y, y});
    if (ink) bands.back().second = y;
    inside = ink;
  }
  return bands;
}

// Steps a few times, shows the table and checks that its window holds the heading, every row and
// the prompt, each on its own; a key then brings the graph back.
void checkTable(const ProgramCase& c, int smallestPitch) {
  ProgramRun run(c.variant());
  QImage blank;
  std::vector<std::pair<int, int>> bands;
  QRect place;
  int screenWidth = 0;
  int screenHeight = 0;
  run.afterTitle()
      .then([&] {
        blank = run.image()->copy();
        screenWidth = run.grid().w;
        screenHeight = run.grid().h;
        return true;
      })
      .keys("1", 12)
      .then([&] { return run.platform().mainWindow()->keys.empty(); })
      .choose(23)
      .then([&] {
        Surface* table = run.platform().windowSurface(3);
        if (!table) return false;
        place = table->placeOnRoot();
        const QImage& image = *run.image(3);
        bands = textBands(image, image.pixelColor(0, 0));
        return true;
      })
      .keys("x")
      .then([&] {
        // The table is gone and the blank graph is back, the time at its start.
        if (run.platform().windowSurface(3)) return false;
        const QRect band(QPoint(0, 0), QPoint(run.grid().graphRight(), run.grid().scaleY(199)));
        EXPECT_EQ(run.image()->copy(band), blank.copy(band));
        EXPECT_DOUBLE_EQ(run.ctx().sim.t, -0.05);
        EXPECT_EQ(run.at(run.grid().scaleX(40), run.grid().scaleY(70)), blue);
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());

  EXPECT_TRUE(QRect(0, 0, screenWidth, screenHeight).contains(place))
      << place.x() << "," << place.y() << " " << place.width() << "x" << place.height();
  EXPECT_GE(place.width(), 310);
  // Heading, the rows (every row has its digits) and the prompt; the empty line holds nothing.
  ASSERT_EQ(bands.size(), static_cast<std::size_t>(c.tableRows + 2));
  EXPECT_GT(bands.back().second, bands[c.tableRows].second);  // the prompt below the last row
  EXPECT_LT(bands.back().second, place.height() - 1);         // and inside the window
  const double pitch = (bands[c.tableRows].first - bands[1].first) / double(c.tableRows - 1);
  EXPECT_GE(pitch, smallestPitch);
  // The empty line: the gap after the heading is a line wider than between two rows.
  EXPECT_GT(bands[1].first - bands[0].first, 1.5 * pitch);
}

TEST_P(ToolsTest, TableWindowHoldsEveryRowAndTheGraphComesBack) {
  checkTable(GetParam(), 9);
}

TEST_P(ToolsTest, TableIsLegibleOnA640By480Screen) {
  if (!atDrawingSize(640, 480)) return;
  checkTable(GetParam(), 9);
}

// Shows a picture and checks that it fills its rectangle; a key brings the screen back.
void checkPicture(const ProgramCase& c, int index) {
  ProgramRun run(c.variant());
  QImage blank;
  QRect target;
  QImage picture;
  bool shown = false;
  run.afterTitle()
      .then([&] {
        // The title screen made the program's folder current; the build keeps them elsewhere.
        EXPECT_TRUE(QDir::setCurrent(ProgramRun::pictureFolder()));
        blank = run.image()->copy();
        const Grid g = run.grid();
        target = QRect(g.scaleX(4), g.scaleY(4), g.scaleX(310), g.scaleY(192));
        return true;
      })
      .choose(index)
      .then([&] {
        if (run.boxShowing()) {
          ADD_FAILURE() << "the picture is missing";
          run.platform().currentMessageBox()->defaultButton()->click();
          return true;
        }
        // The command draws the picture before it waits, so once it runs the picture is there.
        if (run.ctx().MenuChoiceCount == 0) return false;
        const QImage& image = *run.image();
        // Inside, in the corners and across the middle, the picture; outside the background.
        for (const QPoint p : {target.topLeft(), target.topRight(), target.bottomLeft(),
                               target.bottomRight(), target.center()}) {
          EXPECT_NE(image.pixelColor(p), magenta) << p.x() << "," << p.y();
        }
        EXPECT_LT(countColour(image, target, magenta), target.width() * target.height() / 100);
        const QRect around = target.adjusted(-1, -1, 1, 1);
        EXPECT_EQ(countOther(image, QRect(around.left(), around.top(), around.width(), 1), magenta),
                  0);
        EXPECT_EQ(
            countOther(image, QRect(around.left(), around.bottom(), around.width(), 1), magenta),
            0);
        EXPECT_EQ(
            countOther(image, QRect(around.left(), around.top(), 1, around.height()), magenta), 0);
        EXPECT_EQ(
            countOther(image, QRect(around.right(), around.top(), 1, around.height()), magenta), 0);
        picture = image.copy(target);
        shown = true;
        return true;
      })
      .keys(" ")
      .then([&] {
        // The diagram and the blue panels are back as they were.
        if (run.image()->copy(target) == picture) return false;
        const Grid g = run.grid();
        EXPECT_EQ(run.at(g.scaleX(40), g.scaleY(70)), blue);
        EXPECT_EQ(run.at(g.scaleX(40), g.scaleY(150)), blue);
        EXPECT_EQ(*run.image(), blank);
        EXPECT_DOUBLE_EQ(run.ctx().sim.t, -0.05);
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_TRUE(shown);
}

TEST_P(ToolsTest, SwitchOnPictureFillsItsRectangle) {
  checkPicture(GetParam(), 26);
}

TEST_P(ToolsTest, SwitchOffPictureFillsItsRectangle) {
  checkPicture(GetParam(), 27);
}

void moveMouse(ProgramRun& run, QPoint at, Qt::MouseButtons held) {
  QWidget* surface = run.platform().windowSurface(0);
  QMouseEvent move(QEvent::MouseMove, QPointF(at), surface->mapToGlobal(QPointF(at)), Qt::NoButton,
                   held, Qt::NoModifier);
  QApplication::sendEvent(surface, &move);
}

void pressMouse(ProgramRun& run, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QWidget* surface = run.platform().windowSurface(0);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), surface->mapToGlobal(QPointF(at)),
                    button, held, Qt::NoModifier);
  QApplication::sendEvent(surface, &press);
}

void releaseMouse(ProgramRun& run, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QWidget* surface = run.platform().windowSurface(0);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), surface->mapToGlobal(QPointF(at)),
                      button, held, Qt::NoModifier);
  QApplication::sendEvent(surface, &release);
}

// The readout as the main window draws it: white on blue in the times font of the readouts.
QImage readout(const std::string& text, int screenWidth) {
  MouseState mouse;
  Surface surface(QSize(400, 100), nullptr, nullptr, &mouse);
  surface.setBackground(blue);
  surface.attributes.fore = white;
  surface.attributes.back = blue;
  surface.attributes.fontName = "times";
  surface.attributes.fontSize = 20.0 * screenWidth / 800;
  surface.drawText(0, 0, QString::fromStdString(text));
  const QSize size(static_cast<int>(surface.textWidth(QString::fromStdString(text))) + 1,
                   static_cast<int>(surface.lineHeight()));
  return surface.image().copy(QRect(QPoint(0, 0), size));
}

// The part of the main window's image under a readout field.
QImage field(ProgramRun& run, QPoint at, QSize size) {
  return run.image()->copy(QRect(at, size));
}

void checkMouseMeasuring(const ProgramCase& c, const std::function<void(Grid)>& more) {
  ProgramRun run(c.variant());
  std::string warning;
  Grid g;
  QPoint upperField;
  QPoint lowerField;
  QImage upperReading;
  QImage lowerReading;
  QImage higherReading;
  bool steppedAfter = false;
  run.afterTitle()
      .then([&] {
        g = run.grid();
        upperField = QPoint(g.scaleX(70), g.voltageZero() + g.scaleY(30));
        lowerField = QPoint(g.scaleX(70), g.currentZero() + g.scaleY(30));
        upperReading = readout(readingText(30, g.h) + " V   ", g.w);
        lowerReading = readout(readingText(-30, g.h) + " µA   ", g.w);
        higherReading = readout(readingText(60, g.h) + " V   ", g.w);
        if (more) more(g);
        return true;
      })
      .choose(29)
      .answerBox(&warning)
      .then([&] {
        moveMouse(run, QPoint(g.scaleX(100), g.voltageZero() - 30), Qt::NoButton);
        return true;
      })
      .then([&] {
        // The upper reading appears in its field; the lower field is blank.
        if (field(run, upperField, upperReading.size()) != upperReading) return false;
        EXPECT_EQ(countOther(field(run, lowerField, lowerReading.size()),
                             QRect(QPoint(0, 0), lowerReading.size()), blue),
                  0);
        EXPECT_EQ(run.platform().windowSurface(0)->cursor().shape(), Qt::CrossCursor);
        moveMouse(run, QPoint(g.scaleX(100), g.currentZero() + 30), Qt::NoButton);
        return true;
      })
      .then([&] {
        // Over the lower panel: its reading, and the upper field blanked.
        if (field(run, lowerField, lowerReading.size()) != lowerReading) return false;
        const QImage upper = field(run, upperField, upperReading.size());
        EXPECT_EQ(countOther(upper, upper.rect(), blue), 0);
        // One button alone goes on measuring.
        pressMouse(run, QPoint(g.scaleX(100), g.voltageZero() - 60), Qt::LeftButton,
                   Qt::LeftButton);
        moveMouse(run, QPoint(g.scaleX(100), g.voltageZero() - 60), Qt::LeftButton);
        return true;
      })
      .then([&] {
        if (field(run, upperField, higherReading.size()) != higherReading) return false;
        // Both buttons held together end it.
        pressMouse(run, QPoint(g.scaleX(100), g.voltageZero() - 60), Qt::RightButton,
                   Qt::LeftButton | Qt::RightButton);
        return true;
      })
      .then([&] {
        releaseMouse(run, QPoint(g.scaleX(100), g.voltageZero() - 60), Qt::LeftButton,
                     Qt::RightButton);
        releaseMouse(run, QPoint(g.scaleX(100), g.voltageZero() - 60), Qt::RightButton,
                     Qt::NoButton);
        return true;
      })
      .keys("1", 2)
      .then([&] {
        // Back in the key wait: the keys step the circuit again.
        if (run.ctx().sim.t < 0.04) return false;
        steppedAfter = true;
        EXPECT_EQ(run.platform().windowSurface(0)->cursor().shape(), Qt::ArrowCursor);
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_EQ(warning, "Unbedingt mit Maustaste 3 beenden !");
  EXPECT_TRUE(steppedAfter);
}

TEST_P(ToolsTest, MouseMeasuringWritesReadingsInTheFieldsUntilBothButtons) {
  checkMouseMeasuring(GetParam(), {});
}

TEST_P(ToolsTest, MouseMeasuringAtTheWorkedValuesOf800By600) {
  if (!atDrawingSize(800, 600)) return;
  checkMouseMeasuring(GetParam(), [](Grid g) {
    EXPECT_EQ(g.w, 800);
    EXPECT_EQ(g.h, 600);
    EXPECT_EQ(QPoint(g.scaleX(70), g.voltageZero() + g.scaleY(30)), QPoint(175, 231));
    EXPECT_EQ(QPoint(g.scaleX(70), g.currentZero() + g.scaleY(30)), QPoint(175, 512));
    EXPECT_EQ(readingText(30, g.h), "3.3");
    EXPECT_EQ(readingText(-30, g.h), "-3.3");
  });
}

INSTANTIATE_TEST_SUITE_P(Programs, ToolsTest,
                         ::testing::Values(ProgramCase{"coillab", coilVariant, 31},
                                           ProgramCase{"caplab", capacitorVariant, 26}),
                         [](const ::testing::TestParamInfo<ProgramCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace lab::gui
