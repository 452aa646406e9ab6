// The table of values on the screen and on the printer, checked against Euler arithmetic.
#include "tools/table_of_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "model/simulation.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "shell/menu.h"
#include "tools/curve_plot.h"
#include "tools/redraw.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

const std::string CoilHeading = "    t(s)   I(µA)    I.R (V)   U (V)    dI(µA)   I+dI (µA)";
const std::string CapScreenHeading = "   t(s)    U(V)    Uo-U (V)   I(µA)   dU(V)  U+dU ";
const std::string CapPrintHeading = "  t(s)       U(V)   Uo-U  I(µA)   dU(V)  U+dU ";
const std::string ZeroField = "    0,00";

struct TableRun {
  TableRun(const VariantData& variant, int width = 800, int height = 600)
      : platform(width, height), ctx(platform, variant) {
    platform.open_main_window();
    setScreenMetrics(ctx.layout, width, height);
    computeAnchors(ctx.layout);
    ctx.layout.SnapshotBottom = static_cast<std::int16_t>(ScaleY(ctx.layout, 199));
    for (int i = 1; i <= 20; ++i) ctx.GraphSnapshot[i] = platform.capture_image(i, 0, 0, 0);
    ctx.params = variant.defaults;
    ctx.ScreenValueFormat = " -###,##";
    ctx.PrintValueFormat = " -###,##";
    ctx.sim.t = -ctx.params.dt;
    ctx.sim.StepCounter = -1;
    ctx.curve.x = ctx.curve.prevX = 10;
    platform.takeCalls();
  }
  // Steps of the model with the switch in the given state.
  void steps(int count, int switchState) {
    ctx.SwitchState = switchState;
    for (int i = 0; i < count; ++i)
      modelUpdate(ctx, ctx.variant, segmentPlotter(ctx.platform, ctx, ctx, ctx));
  }
  test::RecordingPlatform platform;
  LabContext ctx;
};

// The numbers of a row: a sign, blanks within a field, digits, a comma and two decimals.
std::vector<double> rowValues(const std::string& row) {
  const auto digit = [&](std::size_t i) {
    return i < row.size() && std::isdigit(static_cast<unsigned char>(row[i])) != 0;
  };
  std::vector<double> values;
  std::size_t i = 0;
  while (i < row.size()) {
    if (!digit(i)) {
      ++i;
      continue;
    }
    std::size_t back = i;
    while (back > 0 && row[back - 1] == ' ') --back;
    const bool negative = back > 0 && row[back - 1] == '-';
    std::size_t end = i;
    while (digit(end)) ++end;
    if (end < row.size() && row[end] == ',' && digit(end + 1) && digit(end + 2) &&
        !digit(end + 3)) {
      const double magnitude = std::stod(row.substr(i, end - i) + "." + row.substr(end + 1, 2));
      values.push_back(negative ? -magnitude : magnitude);
      i = end + 3;
    } else {
      values.push_back(std::nan(""));  // not a field of the picture
      i = end + 1;
    }
  }
  return values;
}

// The row holds six eight-character fields: a blank, the sign place, digits, comma, decimals.
void expectPictureLayout(const std::string& row) {
  ASSERT_EQ(row.size(), 48u) << row;
  for (std::size_t f = 0; f < 6; ++f) {
    const std::string piece = row.substr(8 * f, 8);
    EXPECT_EQ(piece[0], ' ') << row;
    EXPECT_TRUE(piece[1] == ' ' || piece[1] == '-') << row;
    EXPECT_EQ(piece[5], ',') << row;
  }
}

void expectRow(const std::string& row, const std::vector<double>& expected) {
  expectPictureLayout(row);
  const std::vector<double> values = rowValues(row);
  ASSERT_EQ(values.size(), expected.size()) << row;
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_NEAR(values[i], expected[i], 0.005 + 1e-9) << "column " << i + 1 << " of " << row;
  }
}

// The text lines written into the table window, in order.
std::vector<std::string> tableLines(const test::RecordingPlatform& platform) {
  std::vector<std::string> lines;
  const std::string prefix = "print_text 3 ";
  for (const auto& call : platform.calls) {
    if (call.rfind(prefix, 0) != 0) continue;
    std::string text = call.substr(prefix.size());
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\\n") == 0) {
      text.resize(text.size() - 2);
    }
    lines.push_back(text);
  }
  return lines;
}

// Coil, switched on from I = 0 with Uo 10, R 1, L 1, dt 0.05: I_k = 10 (1 - 0.95^k).
std::vector<double> coilOnRow(int k) {
  const double q = std::pow(0.95, k);
  const double I = 10 * (1 - q);
  return {0.05 * k, I, I * 1.0, -10 * q, 0.5 * q, 10 * (1 - q * 0.95)};
}

TEST(TableRow, ZeroRowsShowZeroAndTheCapacitorColumnThreeShowsUo) {
  TableRun coil(coilVariant());
  EXPECT_EQ(tableRow(coil.ctx, coil.ctx.variant.kind, 0, " -###,##"),
            ZeroField + ZeroField + ZeroField + ZeroField + ZeroField + ZeroField);
  TableRun cap(capacitorVariant());
  EXPECT_EQ(tableRow(cap.ctx, cap.ctx.variant.kind, 25, " -###,##"),
            ZeroField + ZeroField + "   10,00" + ZeroField + ZeroField + ZeroField);
}

TEST(TableRow, CoilRowsFollowTheEulerRecurrence) {
  TableRun run(coilVariant());
  run.steps(12, 2);
  for (int k = 0; k < 12; ++k)
    expectRow(tableRow(run.ctx, run.ctx.variant.kind, k, " -###,##"), coilOnRow(k));
  for (int k = 12; k < 31; ++k)
    expectRow(tableRow(run.ctx, run.ctx.variant.kind, k, " -###,##"), {0, 0, 0, 0, 0, 0});
}

TEST(TableRow, NegativeValuesStandInTheSignPlace) {
  TableRun run(coilVariant());
  run.steps(1, 2);
  const std::string row = tableRow(run.ctx, run.ctx.variant.kind, 0, " -###,##");
  EXPECT_EQ(row.substr(24, 8), " - 10,00");  // U = -10 right after switching on
  TableRun cap(capacitorVariant());
  cap.steps(4, 2);
  cap.steps(3, 1);  // switched off: the discharge current is negative
  // U after 4 charging steps from 0 with Uo 10, R 1, C 1, dt 0.05: 10 (1 - 0.95^4)
  const double u4 = 10 * (1 - std::pow(0.95, 4));
  const double i4 = -u4 * 0.5;  // off: -U / (R + R2)
  const std::string off = tableRow(cap.ctx, cap.ctx.variant.kind, 4, " -###,##");
  EXPECT_EQ(off[24 + 1], '-') << off;
  expectRow(off, {0.2, u4, 10 - u4, i4, i4 * 0.05, u4 + i4 * 0.05});
}

TEST(TableRow, CapacitorRowsFollowTheEulerRecurrence) {
  TableRun run(capacitorVariant());
  run.steps(10, 2);
  for (int k = 0; k < 10; ++k) {
    const double q = std::pow(0.95, k);
    const double U = 10 * (1 - q);
    const double I = 10 * q;
    expectRow(tableRow(run.ctx, run.ctx.variant.kind, k, " -###,##"),
              {0.05 * k, U, 10 - U, I, 0.5 * q, 10 * (1 - q * 0.95)});
  }
}

TEST(TableRow, ColumnThreeIsComputedWhenTheTableIsWritten) {
  TableRun coil(coilVariant());
  coil.steps(5, 2);
  coil.ctx.params.R = 3;
  const double i3 = 10 * (1 - std::pow(0.95, 3));
  EXPECT_NEAR(rowValues(tableRow(coil.ctx, coil.ctx.variant.kind, 3, " -###,##"))[2], 3 * i3,
              0.005 + 1e-9);

  TableRun cap(capacitorVariant());
  cap.steps(5, 2);
  cap.ctx.params.Uo = -7.5;
  const double u2 = 10 * (1 - std::pow(0.95, 2));
  EXPECT_NEAR(rowValues(tableRow(cap.ctx, cap.ctx.variant.kind, 2, " -###,##"))[2], -7.5 - u2,
              0.005 + 1e-9);
  EXPECT_NEAR(rowValues(tableRow(cap.ctx, cap.ctx.variant.kind, 20, " -###,##"))[2], -7.5,
              1e-9);  // a zero row
}

TEST(TableRow, TimesStartAgainAtZeroAfterARestart) {
  TableRun run(coilVariant());
  run.steps(5, 2);
  RestartGraph(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant.kind);
  run.steps(3, 2);
  // after the restart the coil starts again from I0 = 0, so rows 5 to 7 repeat rows 0 to 2
  for (int k = 0; k < 5; ++k)
    expectRow(tableRow(run.ctx, run.ctx.variant.kind, k, " -###,##"), coilOnRow(k));
  for (int k = 5; k < 8; ++k)
    expectRow(tableRow(run.ctx, run.ctx.variant.kind, k, " -###,##"), coilOnRow(k - 5));
  expectRow(tableRow(run.ctx, run.ctx.variant.kind, 8, " -###,##"), {0, 0, 0, 0, 0, 0});
}

TEST(TableRow, ValuesBeyondThreeIntegerDigitsStayReadable) {
  TableRun run(coilVariant());
  SampleLog& log = run.ctx.sampleLog;
  log.t[3] = 1234.5;
  log.I[3] = -98765.25;
  log.U[3] = 1e6;
  log.d[3] = 0.25;
  run.ctx.params.R = 2;
  const std::string row = tableRow(run.ctx, run.ctx.variant.kind, 3, " -###,##");
  const std::vector<double> values = rowValues(row);
  ASSERT_EQ(values.size(), 6u) << row;
  const std::vector<double> expected{1234.5, -98765.25, -197530.5, 1e6, 0.25, -98765.0};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_NEAR(values[i], expected[i], 0.005) << row;
}

TEST(ShowTable, WritesHeadingEmptyLineAndAllRowsThenPromptsBelowThem) {
  const struct {
    const VariantData* variant;
    const std::string* heading;
    int rows;
  } programs[] = {{&coilVariant(), &CoilHeading, 31}, {&capacitorVariant(), &CapScreenHeading, 26}};
  const struct {
    int width, height;
  } screens[] = {{640, 480}, {800, 600}, {1024, 768}, {1920, 1080}};
  for (const auto& program : programs) {
    for (const auto& screen : screens) {
      SCOPED_TRACE(program.variant->programName + " " + std::to_string(screen.width));
      TableRun run(*program.variant, screen.width, screen.height);
      run.steps(3, 2);
      run.platform.key("x");
      ShowTable(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);

      const std::vector<std::string> lines = tableLines(run.platform);
      ASSERT_EQ(lines.size(), static_cast<std::size_t>(program.rows + 3));
      EXPECT_EQ(lines[0], *program.heading);
      EXPECT_EQ(lines[1], "");
      for (int k = 0; k < program.rows; ++k) {
        EXPECT_EQ(lines[2 + k], tableRow(run.ctx, run.ctx.variant.kind, k, " -###,##"));
      }
      EXPECT_EQ(lines.back(), "Weiter ?   <RETURN>");

      // the last opening of window 3 and the last font size set in it
      const auto opens = run.platform.callsStartingWith("open_window 3 ");
      ASSERT_FALSE(opens.empty());
      EXPECT_EQ(opens.front(), "open_window 3 " + std::to_string(ScaleX(run.ctx.layout, 6)) + " " +
                                   std::to_string(ScaleY(run.ctx.layout, 40)) + " 310 " +
                                   std::to_string(ScaleY(run.ctx.layout, 125)));
      int x = 0, y = 0, w = 0, h = 0;
      ASSERT_EQ(std::sscanf(opens.back().c_str(), "open_window 3 %d %d %d %d", &x, &y, &w, &h), 4);
      const auto sizes = run.platform.callsStartingWith("set_font_size ");
      const double size = std::stod(sizes.back().substr(std::string("set_font_size ").size()));
      EXPECT_GE(size, 9.0);
      // the stand-in font: characters half the size wide, lines 1.2 sizes apart
      const double lineHeight = 1.2 * size;
      const auto promptAt = run.platform.callsStartingWith("set_text_position ");
      int px = 0, py = 0;
      ASSERT_EQ(std::sscanf(promptAt.back().c_str(), "set_text_position %d %d", &px, &py), 2);
      EXPECT_EQ(px, 19);
      EXPECT_GE(py, (program.rows + 2) * lineHeight - 1e-9);  // below the last row
      EXPECT_GE(h, py + lineHeight);
      EXPECT_GE(w, static_cast<double>(program.heading == &CoilHeading ? 57 : 50) * size / 2);
      EXPECT_GE(w, 310);
      EXPECT_GE(h, ScaleY(run.ctx.layout, 125));
      EXPECT_GE(x, 0);
      EXPECT_GE(y, 0);
      EXPECT_LE(x + w, screen.width);
      EXPECT_LE(y + h, screen.height);
      EXPECT_TRUE(run.platform.callsStartingWith("set_font_name mono").size() >= 1);
    }
  }
}

TEST(ShowTable, ATinyScreenStillGetsEveryLineAndEnds) {
  TableRun run(coilVariant(), 320, 200);
  run.platform.key("x");
  ShowTable(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
  EXPECT_EQ(tableLines(run.platform).size(), 34u);
  EXPECT_EQ(tableLines(run.platform).back(), "Weiter ?  <RETURN>");  // x 2 at XFactor 1
  EXPECT_EQ(run.platform.eventsLeft(), 0u);
  const auto opens = run.platform.callsStartingWith("open_window 3 ");
  int x = -1, y = -1, w = 0, h = 0;
  ASSERT_EQ(std::sscanf(opens.back().c_str(), "open_window 3 %d %d %d %d", &x, &y, &w, &h), 4);
  EXPECT_GE(x, 0);
  EXPECT_GE(y, 0);
  EXPECT_GE(w, 310);
  EXPECT_GE(h, ScaleY(run.ctx.layout, 125));
}

TEST(ShowTable, ClosesTheWindowAndRestartsTheGraphAfterTheKey) {
  TableRun run(capacitorVariant());
  run.steps(7, 2);
  run.platform.key("q").key("1");
  ShowTable(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);  // the prompt took one key, the next stays
  EXPECT_FALSE(run.platform.windowOpen(TableWindow));
  const auto calls = run.platform.calls;
  const auto close = std::find(calls.begin(), calls.end(), "close_window 3");
  ASSERT_NE(close, calls.end());
  const auto restored = std::find(close, calls.end(), "put_image [1 0 0 0] 0 0");
  EXPECT_NE(restored, calls.end());
  EXPECT_NE(std::find(close, restored, "set_output_window 0"), restored);
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, -0.05);
  EXPECT_FALSE(run.ctx.curve.SegmentStarted);
  // the log keeps its rows
  EXPECT_DOUBLE_EQ(run.ctx.sampleLog.t[6], 0.3);
}

TEST(ShowTable, ClosingTheMainWindowDuringThePromptEndsWithoutRedraw) {
  TableRun run(coilVariant());
  run.steps(7, 2);
  const double t = run.ctx.sim.t;
  run.platform.closeMainWindow();
  ShowTable(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
  EXPECT_FALSE(run.platform.windowOpen(TableWindow));
  EXPECT_TRUE(run.platform.callsStartingWith("put_image").empty());
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, t);
}

TEST(ShowTable, CommandsChosenInsideThePromptLeaveTheTableWhole) {
  TableRun run(coilVariant());
  run.steps(4, 2);
  run.platform.availablePictures = {"einschemspule.gif"};
  run.platform.install_menu({}, [&](int index) { Win_0_MenuEvent(run.ctx, index); });
  // a second table, then a picture, each answered by its own key; then the first table's key
  run.platform.menu(23).key("a").menu(26).key("b").key("c").key("d");
  ShowTable(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
  EXPECT_EQ(run.platform.eventsLeft(), 1u);
  EXPECT_FALSE(run.platform.windowOpen(TableWindow));
  EXPECT_EQ(run.platform.callsStartingWith("load_picture einschemspule.gif").size(), 1u);
  EXPECT_EQ(run.platform.outputWindow(), 0);
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, -0.05);
  // the outer table wrote its rows once, the nested one once more
  EXPECT_EQ(run.platform.callsStartingWith("print_text 3 " + CoilHeading).size(), 2u);
}

TEST(ShowTable, ATableShownInsideAnotherGivesTheOuterOnesCellsBack) {
  TableRun run(coilVariant());
  run.steps(4, 2);
  std::size_t cellRowsAfterNested = 0;
  run.platform.install_menu({}, [&](int index) {
    Win_0_MenuEvent(run.ctx, index);
    cellRowsAfterNested = run.platform.tableCells.size();
  });
  run.platform.menu(23).key("a").key("b");
  ShowTable(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
  EXPECT_EQ(cellRowsAfterNested, 1u + 31);  // the outer table's heading and rows again
  EXPECT_TRUE(run.platform.tableCells.empty());
}

TEST(PrintTable, PrintsThePageInOrderWithTwentySixRows) {
  const struct {
    const VariantData* variant;
    const std::string* heading;
  } programs[] = {{&coilVariant(), &CoilHeading}, {&capacitorVariant(), &CapPrintHeading}};
  for (const auto& program : programs) {
    SCOPED_TRACE(program.variant->programName);
    TableRun run(*program.variant);
    run.steps(30, 2);
    PrintTable(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
    const auto& printed = run.platform.printedLines;
    ASSERT_EQ(printed.size(), 3u + 1 + 1 + 26 + 1);
    EXPECT_EQ(printed[0], "");
    EXPECT_EQ(printed[1], "");
    EXPECT_EQ(printed[2], "");
    EXPECT_EQ(printed[3], *program.heading);
    EXPECT_EQ(printed[4], "");
    for (int k = 0; k < 26; ++k)
      EXPECT_EQ(printed[5 + k], tableRow(run.ctx, run.ctx.variant.kind, k, " -###,##"));
    EXPECT_EQ(printed.back(), "");
    // the job opens with the first empty line; the font size follows it; page then job end
    EXPECT_EQ(run.platform.callsStartingWith("printer"),
              (std::vector<std::string>{"printer_open_job", "printer_set_font_size 12",
                                        "printer_end_page", "printer_end_job"}));
    EXPECT_TRUE(run.platform.messageBoxes.empty());
    EXPECT_TRUE(run.platform.callsStartingWith("open_window").empty());
  }
}

TEST(PrintTable, CoilPrintsTwentySixOfItsThirtyOneRows) {
  TableRun run(coilVariant());
  run.steps(31, 2);
  PrintTable(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
  ASSERT_EQ(run.platform.printedLines.size(), 32u);
  expectRow(run.platform.printedLines[30], coilOnRow(25));
  EXPECT_EQ(run.platform.printedLines[31], "");
}

TEST(PrintTable, AFailingPrinterStopsAtOnce) {
  TableRun run(coilVariant());
  run.platform.printerFails = true;
  PrintTable(run.ctx.platform, run.ctx, run.ctx, run.ctx.variant, run.ctx.variant.kind);
  EXPECT_EQ(run.platform.callsStartingWith("printer"),
            std::vector<std::string>{"printer_write failed"});
  EXPECT_TRUE(run.platform.printedLines.empty());
  EXPECT_TRUE(run.platform.messageBoxes.empty());  // the platform tells the pupil, not the core
}

// A printer whose page cannot be finished.
class PageFailingPlatform : public test::RecordingPlatform {
 public:
  bool printer_end_page() override {
    RecordingPlatform::printer_end_page();
    return false;
  }
};

TEST(PrintTable, AFailedPageNeverEndsTheJob) {
  PageFailingPlatform platform;
  LabContext ctx(platform, capacitorVariant());
  ctx.params = capacitorVariant().defaults;
  ctx.PrintValueFormat = " -###,##";
  PrintTable(ctx.platform, ctx, ctx, ctx.variant, ctx.variant.kind);
  EXPECT_EQ(platform.callsStartingWith("printer"),
            (std::vector<std::string>{"printer_open_job", "printer_set_font_size 12",
                                      "printer_end_page"}));
}

}  // namespace
}  // namespace lab
