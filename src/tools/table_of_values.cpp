// The table of recorded steps: in a window over the graph, and on the default printer.
#include "tools/table_of_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "display/display_state.h"
#include "display/rounding.h"
#include "display/screen_layout.h"
#include "model/model_state.h"
#include "model/number_text.h"
#include "platform/platform.h"
#include "tools/redraw.h"
#include "tools/spoken.h"
#include "tools/tools_state.h"
#include "tools/wait_prompt.h"

namespace lab {

namespace {

inline constexpr int PrintedRows = 26;  // both programs print 26 rows, the coil shows 31
inline constexpr std::int16_t PromptRow = 24;
inline constexpr double TableMargin = 8;       // pixels right of and below the text
inline constexpr double SmallestFontSize = 4;  // below this fitting gives up and lets text run off

struct WindowFit {
  WindowGeometry geometry;
  double fontSize;
  std::int16_t promptRow;
};

// The lines of the screen table, heading first; the empty line and the prompt are added apart.
std::vector<std::string> screenLines(const ModelState& model, const ToolsState& tools,
                                     const ToolsVariant& variant, CircuitVariant kind) {
  std::vector<std::string> lines{variant.screenTableHeading};
  for (int k = 0; k < variant.screenTableRows; ++k) {
    lines.push_back(tableRow(model, kind, k, tools.ScreenValueFormat));
  }
  return lines;
}

std::string promptText(const ScreenLayout& layout) {
  return layout.XFactor > 1 ? "Weiter ?   <RETURN>" : "Weiter ?  <RETURN>";
}

// The first grid row whose prompt line starts at or below y, or row 24 when that is already so.
std::int16_t promptRowBelow(const ScreenLayout& layout, double y) {
  if (layout.YFactor <= 0) return PromptRow;
  int row = std::max<int>(PromptRow, toInt32(std::ceil(y / layout.YFactor)));
  while (roundHalfEven(row * layout.YFactor) < y && row < 32767) ++row;
  return toInt16(row);
}

// Measures the table in the current font of the output window at the given size.
WindowFit measure(Platform& platform, const ScreenLayout& layout,
                  const std::vector<std::string>& lines, double size) {
  platform.set_font_size(size);
  double width = 0;
  for (const auto& line : lines) width = std::max(width, platform.text_width(line));
  const double lineHeight = platform.line_height();
  // heading, empty line and rows; the prompt must start below them so it covers none of them
  const double rowsBottom = static_cast<double>(lines.size() + 1) * lineHeight;
  const std::int16_t row = promptRowBelow(layout, rowsBottom);
  const double promptX = layout.XFactor > 1 ? 19 : 2;
  width = std::max(width, promptX + platform.text_width(promptText(layout)));
  const double height = roundHalfEven(row * layout.YFactor) + lineHeight;

  WindowFit fit{};
  fit.fontSize = size;
  fit.promptRow = row;
  fit.geometry.width = std::max(310, toInt32(std::ceil(width + TableMargin)));
  fit.geometry.height = std::max(ScaleY(layout, 125), toInt32(std::ceil(height + TableMargin)));
  return fit;
}

bool fitsScreen(const ScreenLayout& layout, const WindowFit& fit) {
  return fit.geometry.width <= layout.ScreenWidth && fit.geometry.height <= layout.ScreenHeight;
}

// The largest font size up to the graph text's size (scaled by the smaller screen factor) at
// which every line of the table and the prompt fit on the screen.
WindowFit fitTable(Platform& platform, const ScreenLayout& layout,
                   const std::vector<std::string>& lines) {
  const double scale = std::min(layout.ScreenWidth / 800.0, layout.ScreenHeight / 600.0);
  double size = std::max(12 * scale, 9.0);
  WindowFit fit = measure(platform, layout, lines, size);
  if (!fitsScreen(layout, fit)) {
    // metrics grow about linearly with the size: start near the fitting size, then step down
    const double ratio = std::min(layout.ScreenWidth / static_cast<double>(fit.geometry.width),
                                  layout.ScreenHeight / static_cast<double>(fit.geometry.height));
    size = std::max(SmallestFontSize, size * ratio);
    fit = measure(platform, layout, lines, size);
    while (!fitsScreen(layout, fit) && size > SmallestFontSize) {
      size = std::max(SmallestFontSize, size * 0.97);
      fit = measure(platform, layout, lines, size);
    }
  }
  // keep the window's corner where it belongs, moved up or left only as far as needed
  fit.geometry.x =
      std::max(0, std::min(ScaleX(layout, 6), layout.ScreenWidth - fit.geometry.width));
  fit.geometry.y =
      std::max(0, std::min(ScaleY(layout, 40), layout.ScreenHeight - fit.geometry.height));
  return fit;
}

void openTableWindow(Platform& platform, const WindowGeometry& geometry, double fontSize) {
  platform.open_window(TableWindow, geometry);
  platform.set_output_window(TableWindow);
  platform.set_font_name("mono");  // fixed pitch keeps the value columns under each other
  platform.set_font_size(fontSize);
}

}  // namespace

namespace {

std::array<double, 6> rowValues(const ModelState& model, CircuitVariant kind, int k) {
  const SampleLog& log = model.sampleLog;
  const double t = log.t[k];
  const double U = log.U[k];
  const double I = log.I[k];
  const double d = log.d[k];
  std::array<double, 6> columns{};
  switch (kind) {
    case CircuitVariant::Coil:
      columns = {t, I, I * model.params.R, U, d, I + d};
      break;
    case CircuitVariant::Capacitor:
      columns = {t, U, model.params.Uo - U, I, d, U + d};
      break;
  }
  return columns;
}

// The screen table as cells for those who read it without seeing it: column names, then the
// values of each row as the screen shows them.
std::vector<std::vector<std::string>> screenCells(const ModelState& model, const ToolsState& tools,
                                                  const ToolsVariant& variant,
                                                  CircuitVariant kind) {
  std::vector<std::vector<std::string>> cells{headingCells(variant.screenTableHeading)};
  for (int k = 0; k < variant.screenTableRows; ++k) {
    std::vector<std::string> row;
    for (double value : rowValues(model, kind, k)) {
      row.push_back(spokenValue(value, tools.ScreenValueFormat));
    }
    cells.push_back(row);
  }
  return cells;
}

}  // namespace

std::string tableRow(const ModelState& model, CircuitVariant kind, int k,
                     const std::string& picture) {
  std::string row;
  for (double value : rowValues(model, kind, k)) row += pictureNumberText(value, picture);
  return row;
}

void ShowTable(Platform& platform, ModelState& model, DisplayState& display, ToolsState& tools,
               const ToolsVariant& variant, CircuitVariant kind) {
  const ScreenLayout& layout = display.layout;
  const WindowGeometry given{ScaleX(layout, 6), ScaleY(layout, 40), 310, ScaleY(layout, 125)};
  platform.open_window(TableWindow, given);
  platform.set_output_window(TableWindow);
  platform.set_font_name("mono");

  // The given window holds neither the rows nor all lines legibly: measure, then reopen it
  // at the size that does.
  const std::vector<std::string> lines = screenLines(model, tools, variant, kind);
  const WindowFit fit = fitTable(platform, layout, lines);
  const WindowGeometry& g = fit.geometry;
  if (g.x != given.x || g.y != given.y || g.width != given.width || g.height != given.height) {
    openTableWindow(platform, g, fit.fontSize);
  }

  platform.print_text(lines.front(), true);
  platform.print_text("", true);
  for (std::size_t k = 1; k < lines.size(); ++k) platform.print_text(lines[k], true);
  const std::vector<std::vector<std::string>> outer = tools.TableCells;
  tools.TableCells = screenCells(model, tools, variant, kind);
  platform.show_table_cells(tools.TableCells);
  WaitPrompt(platform, layout, tools, fit.promptRow,
             "Wertetabelle mit " + std::to_string(variant.screenTableRows) +
                 " Zeilen; Strg+C kopiert sie.");
  tools.TableCells = outer;
  platform.show_table_cells(outer);

  platform.close_window(TableWindow);
  if (!platform.main_window_exists()) return;
  platform.set_output_window(0);  // the graph comes back in the main window
  RestartGraph(platform, model, display, kind);
}

void PrintTable(Platform& platform, const ModelState& model, const ToolsState& tools,
                const ToolsVariant& variant, CircuitVariant kind) {
  // Any false result means the platform has told the pupil and dropped the job: stop there.
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_set_font_size(12)) return;
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_write(variant.printTableHeading, true)) return;
  if (!platform.printer_write("", true)) return;
  for (int k = 0; k < PrintedRows; ++k) {
    if (!platform.printer_write(tableRow(model, kind, k, tools.PrintValueFormat), true)) return;
  }
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_end_page()) return;
  platform.printer_end_job();
}

}  // namespace lab
