// The parameter dialogs of both running programs: lines typed into the real dialog field,
// refused ones bringing the prompt back, accepted ones seen in the value summary and in the
// curves of the next steps; a command chosen inside a dialog; the line fitting its window.
#include <cmath>
#include <ostream>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "drawing_size.h"
#include "program_driver.h"

namespace lab::gui {
namespace {

const QColor white(255, 255, 255);
const QColor blue(0, 0, 255);
const QColor magenta(255, 0, 255);

// The summary lines of the start-up values, one per quantity in the order Uo, initial value,
// storage, R, R2, dt (the coil's first entry is its heading).
const std::vector<std::string> CoilSummary = {
    "    PARAMETER   \n\n",       "Batteriespg. Uo = 10 V \n",   "Anfangsstrom Spule I = 0 A \n",
    "Induktivität L  = 1mH \n",   "Widerstand   R  = 1 kOhm \n", "Widerstand   R2 = 0.5 kOhm \n",
    "Zeitschritt  dt = 0.05 s \n"};
const std::vector<std::string> CapacitorSummary = {"",
                                                   "Batteriespannung Uo = 10 V\n",
                                                   "Anfangsspannung/Kondensator U = 0 V\n",
                                                   "Kapazität C = 1µF\n",
                                                   "Widerstand R = 1 MOhm\n",
                                                   "Widerstand R2 = 1 MOhm\n",
                                                   "Zeitschritt dt = 0.05 s\n"};

std::string summaryWith(std::vector<std::string> lines, std::size_t line, const std::string& text) {
  lines[line] = text;
  std::string all;
  for (const auto& l : lines) all += l;
  return all;
}

struct DialogCase {
  const char* name;
  const VariantData& (*variant)();
  int index;                     // menu index of the dialog
  std::vector<QString> refused;  // lines that must bring the prompt back
  QString accepted;              // the line that closes the dialog
  std::string expectedSummary;   // the summary box afterwards
};

// Test names in listings show the case, not its bytes.
void PrintTo(const DialogCase& c, std::ostream* os) {
  *os << c.name;
}

class DialogTest : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogTest, TypedLineChangesTheValueAndRefusedLinesBringThePromptBack) {
  const DialogCase& c = GetParam();
  ProgramRun run(c.variant());
  QPointer<QLineEdit> typedInto;
  int promptsBack = 0;
  std::string summary;
  run.afterTitle().choose(c.index);
  const auto typeInto = [&](const QString& line) {
    run.then([&run, &typedInto] {
      // The field lies in the dialog window, in reach, and has the keys.
      QLineEdit* edit = run.field();
      if (!edit || !run.fieldHasKeys()) return false;
      typedInto = edit;
      const QRect frame(QPoint(0, 0), run.platform().windowSurface(2)->size());
      EXPECT_TRUE(frame.contains(edit->geometry())) << edit->geometry().x();
      // The prompt is drawn left of it.
      const QImage* image = run.image(2);
      EXPECT_GT(countOther(*image, QRect(0, 0, edit->x(), image->height()), magenta), 50);
      return true;
    });
    run.typeLine(line);
  };
  for (const QString& line : c.refused) {
    typeInto(line);
    run.then([&] {
      // The field that took the line is gone and a new one waits in the same window.
      if (typedInto || !run.field()) return false;
      ++promptsBack;
      return true;
    });
  }
  typeInto(c.accepted);
  run.then([&] { return !run.field() && !run.platform().windowSurface(2); })
      .choose(8)
      .answerBox(&summary)
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_EQ(promptsBack, static_cast<int>(c.refused.size()));
  EXPECT_EQ(summary, c.expectedSummary);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogTest,
    ::testing::Values(DialogCase{"coil_R",
                                 coilVariant,
                                 12,
                                 {"5", "0.2"},
                                 "4",
                                 summaryWith(CoilSummary, 4, "Widerstand   R  = 4 kOhm \n")},
                      DialogCase{"coil_Uo",
                                 coilVariant,
                                 10,
                                 {"abc", "12", "-12", "1.5x", "nan"},
                                 "-11,5",
                                 summaryWith(CoilSummary, 1, "Batteriespg. Uo = -11.5 V \n")},
                      DialogCase{"coil_I0",
                                 coilVariant,
                                 11,
                                 {"1e999"},
                                 "0.0005",
                                 summaryWith(CoilSummary, 2, "Anfangsstrom Spule I = 0.001 A \n")},
                      DialogCase{"coil_L",
                                 coilVariant,
                                 14,
                                 {"0.4", "4.01"},
                                 " 2 ",
                                 summaryWith(CoilSummary, 3, "Induktivität L  = 2mH \n")},
                      DialogCase{"coil_R2",
                                 coilVariant,
                                 13,
                                 {"0.098"},
                                 "0.099",
                                 summaryWith(CoilSummary, 5, "Widerstand   R2 = 0.099 kOhm \n")},
                      DialogCase{"coil_dt",
                                 coilVariant,
                                 15,
                                 {"1", "0"},
                                 "0.99",
                                 summaryWith(CoilSummary, 6, "Zeitschritt  dt = 0.99 s \n")},
                      DialogCase{"coil_empty_keeps_R",
                                 coilVariant,
                                 12,
                                 {},
                                 "",
                                 summaryWith(CoilSummary, 4, "Widerstand   R  = 1 kOhm \n")},
                      DialogCase{"cap_Uo",
                                 capacitorVariant,
                                 10,
                                 {"12"},
                                 "8",
                                 summaryWith(CapacitorSummary, 1, "Batteriespannung Uo = 8 V\n")},
                      DialogCase{"cap_U0",
                                 capacitorVariant,
                                 11,
                                 {"-12"},
                                 "3,25",
                                 summaryWith(CapacitorSummary, 2,
                                             "Anfangsspannung/Kondensator U = 3.25 V\n")},
                      DialogCase{"cap_C",
                                 capacitorVariant,
                                 14,
                                 {"4,5", "0x10"},
                                 "0,5",
                                 summaryWith(CapacitorSummary, 3, "Kapazität C = 0.5µF\n")},
                      DialogCase{"cap_R",
                                 capacitorVariant,
                                 12,
                                 {"0.24"},
                                 "0.25",
                                 summaryWith(CapacitorSummary, 4, "Widerstand R = 0.25 MOhm\n")},
                      DialogCase{"cap_R2",
                                 capacitorVariant,
                                 13,
                                 {"-0.001"},
                                 "0",
                                 summaryWith(CapacitorSummary, 5, "Widerstand R2 = 0 MOhm\n")},
                      DialogCase{"cap_dt",
                                 capacitorVariant,
                                 15,
                                 {"inf"},
                                 "0.1",
                                 summaryWith(CapacitorSummary, 6, "Zeitschritt dt = 0.1 s\n")}),
    [](const ::testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

struct CurveCase {
  const char* name;
  const VariantData& (*variant)();
  // The curves with the battery at 5 V from the start, switch on: upper and lower panel.
  std::function<double(int)> upper;
  std::function<double(int)> lower;
  std::function<double(int)> upperAt10Volts;
};

// Test names in listings show the case, not its bytes.
void PrintTo(const CurveCase& c, std::ostream* os) {
  *os << c.name;
}

class DialogCurveTest : public ::testing::TestWithParam<CurveCase> {};

TEST_P(DialogCurveTest, NextStepsRunWithTheNewBatteryVoltage) {
  const CurveCase& c = GetParam();
  ProgramRun run(c.variant());
  int checked = 0;
  run.afterTitle()
      .choose(10)
      .typeLine("5")
      .then([&] { return !run.platform().windowSurface(2); })
      .keys("1", 12)
      .then([&] {
        if (!run.platform().mainWindow()->keys.empty()) return false;
        const Grid g = run.grid();
        for (int k = 3; k < 12; k += 2) {
          const int x = g.plotX(k * 0.05);
          const auto yU = g.plotY(c.upper(k), g.voltageZero());
          const auto yI = g.plotY(c.lower(k), g.currentZero());
          const auto old = g.plotY(c.upperAt10Volts(k), g.voltageZero());
          if (!yU || !yI || !old) continue;
          EXPECT_EQ(run.at(x, *yU), white) << "upper step " << k;
          EXPECT_EQ(run.at(x, *yI), white) << "lower step " << k;
          EXPECT_EQ(run.at(x, *old), blue) << "no 10 V curve at step " << k;
          ++checked;
        }
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_GE(checked, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, DialogCurveTest,
    ::testing::Values(CurveCase{"coillab", coilVariant,
                                [](int k) { return -5 * std::pow(0.95, k); },
                                [](int k) { return 5 * (1 - std::pow(0.95, k)); },
                                [](int k) { return -10 * std::pow(0.95, k); }},
                      CurveCase{"caplab", capacitorVariant,
                                [](int k) { return 5 * (1 - std::pow(0.95, k)); },
                                [](int k) { return 5 * std::pow(0.95, k); },
                                [](int k) { return 10 * (1 - std::pow(0.95, k)); }}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return std::string(info.param.name); });

struct ProgramCase {
  const char* name;
  const VariantData& (*variant)();
  std::string summaryWithR3;
};

// Test names in listings show the case, not its bytes.
void PrintTo(const ProgramCase& c, std::ostream* os) {
  *os << c.name;
}

class DialogProgramTest : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(DialogProgramTest, SummaryChosenInsideTheDialogThenTheDialogStillReadsItsLine) {
  const ProgramCase& c = GetParam();
  ProgramRun run(c.variant());
  std::string nested;
  std::string summary;
  QPointer<QLineEdit> first;
  run.afterTitle()
      .choose(12)
      .then([&] {
        first = run.field();
        return first != nullptr;
      })
      .choose(8)
      .answerBox(&nested)
      .then([&] {
        // The dialog shows its prompt and field again and takes the keys.
        return run.fieldHasKeys() && run.platform().windowSurface(2);
      })
      .typeLine("3")
      .then([&] { return !run.platform().windowSurface(2); })
      .choose(8)
      .answerBox(&summary)
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_FALSE(nested.empty());
  EXPECT_EQ(summary, c.summaryWithR3);
}

TEST_P(DialogProgramTest, ClosingTheWindowWhileADialogWaitsEndsTheProgram) {
  ProgramRun run(GetParam().variant());
  run.afterTitle().choose(15).then([&] { return run.field() != nullptr; }).close();
  EXPECT_EQ(run.runMain(), 0);
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
}

// Every dialog of the program on the smallest screen: the window where it belongs, its line
// (prompt, present value and field) inside it.
TEST_P(DialogProgramTest, EveryPromptLineFitsItsWindowAt640By480) {
  if (!atDrawingSize(640, 480)) return;
  ProgramRun run(GetParam().variant());
  int checked = 0;
  run.afterTitle();
  for (int index = 10; index <= 15; ++index) {
    run.choose(index)
        .then([&run, &checked] {
          QLineEdit* edit = run.field();
          if (!edit || !run.fieldHasKeys()) return false;
          const Grid g = run.grid();
          EXPECT_EQ(g.w, 640);
          EXPECT_EQ(g.h, 480);
          Surface* frame = run.platform().windowSurface(2);
          const QRect place = frame->placeOnRoot();
          EXPECT_EQ(place.x(), g.scaleX(10));
          EXPECT_EQ(place.y(), g.scaleY(15));
          EXPECT_EQ(place.width(), g.w - 2 * g.scaleX(10));
          EXPECT_GE(place.height(), g.scaleY(30));
          EXPECT_TRUE(QRect(0, 0, g.w, g.h).contains(place));
          // The field: inside the window, wide enough for a number, right of all prompt text.
          EXPECT_TRUE(QRect(QPoint(0, 0), frame->size()).contains(edit->geometry()));
          EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance("-0.0005") + 4);
          const QImage* image = run.image(2);
          EXPECT_GT(countOther(*image, QRect(0, 0, edit->x(), image->height()), magenta), 50);
          EXPECT_EQ(countOther(*image, QRect(edit->x() - 2, 0, 2, image->height()), magenta), 0);
          // Nothing of the text is cut at the window's edges.
          EXPECT_EQ(countOther(*image, QRect(0, 0, image->width(), 1), magenta), 0);
          EXPECT_EQ(countOther(*image, QRect(0, image->height() - 1, image->width(), 1), magenta),
                    0);
          ++checked;
          return true;
        })
        .typeLine("");
  }
  run.close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_EQ(checked, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, DialogProgramTest,
    ::testing::Values(ProgramCase{"coillab", coilVariant,
                                  summaryWith(CoilSummary, 4, "Widerstand   R  = 3 kOhm \n")},
                      ProgramCase{"caplab", capacitorVariant,
                                  summaryWith(CapacitorSummary, 4, "Widerstand R = 3 MOhm\n")}),
    [](const ::testing::TestParamInfo<ProgramCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lab::gui
