// The table of recorded steps: in a window over the graph, and on the default printer.
#include "tools/table_of_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "display/rounding.h"
#include "display/screen_layout.h"
#include "lab_context.h"
#include "model/number_text.h"
#include "shell/wait_prompt.h"
#include "tools/redraw.h"

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
std::vector<std::string> screenLines(const LabContext& ctx) {
  std::vector<std::string> lines{ctx.variant.screenTableHeading};
  for (int k = 0; k < ctx.variant.screenTableRows; ++k) {
    lines.push_back(tableRow(ctx, k, ctx.ScreenValueFormat));
  }
  return lines;
}

std::string promptText(const LabContext& ctx) {
  return ctx.layout.XFactor > 1 ? "Weiter ?   <RETURN>" : "Weiter ?  <RETURN>";
}

// The first grid row whose prompt line starts at or below y, or row 24 when that is already so.
std::int16_t promptRowBelow(const ScreenLayout& layout, double y) {
  if (layout.YFactor <= 0) return PromptRow;
  int row = std::max<int>(PromptRow, toInt32(std::ceil(y / layout.YFactor)));
  while (roundHalfEven(row * layout.YFactor) < y && row < 32767) ++row;
  return toInt16(row);
}

// Measures the table in the current font of the output window at the given size.
WindowFit measure(LabContext& ctx, const std::vector<std::string>& lines, double size) {
  Platform& platform = ctx.platform;
  platform.set_font_size(size);
  const ScreenLayout& layout = ctx.layout;
  double width = 0;
  for (const auto& line : lines) width = std::max(width, platform.text_width(line));
  const double lineHeight = platform.line_height();
  // heading, empty line and rows; the prompt must start below them so it covers none of them
  const double rowsBottom = static_cast<double>(lines.size() + 1) * lineHeight;
  const std::int16_t row = promptRowBelow(layout, rowsBottom);
  const double promptX = layout.XFactor > 1 ? 19 : 2;
  width = std::max(width, promptX + platform.text_width(promptText(ctx)));
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
WindowFit fitTable(LabContext& ctx, const std::vector<std::string>& lines) {
  const ScreenLayout& layout = ctx.layout;
  const double scale = std::min(layout.ScreenWidth / 800.0, layout.ScreenHeight / 600.0);
  double size = std::max(12 * scale, 9.0);
  WindowFit fit = measure(ctx, lines, size);
  if (!fitsScreen(layout, fit)) {
    // metrics grow about linearly with the size: start near the fitting size, then step down
    const double ratio = std::min(layout.ScreenWidth / static_cast<double>(fit.geometry.width),
                                  layout.ScreenHeight / static_cast<double>(fit.geometry.height));
    size = std::max(SmallestFontSize, size * ratio);
    fit = measure(ctx, lines, size);
    while (!fitsScreen(layout, fit) && size > SmallestFontSize) {
      size = std::max(SmallestFontSize, size * 0.97);
      fit = measure(ctx, lines, size);
    }
  }
  // keep the window's corner where it belongs, moved up or left only as far as needed
  fit.geometry.x =
      std::max(0, std::min(ScaleX(layout, 6), layout.ScreenWidth - fit.geometry.width));
  fit.geometry.y =
      std::max(0, std::min(ScaleY(layout, 40), layout.ScreenHeight - fit.geometry.height));
  return fit;
}

void openTableWindow(LabContext& ctx, const WindowGeometry& geometry, double fontSize) {
  Platform& platform = ctx.platform;
  platform.open_window(TableWindow, geometry);
  platform.set_output_window(TableWindow);
  platform.set_font_name("mono");  // fixed pitch keeps the value columns under each other
  platform.set_font_size(fontSize);
}

}  // namespace

std::string tableRow(const LabContext& ctx, int k, const std::string& picture) {
  const SampleLog& log = ctx.sampleLog;
  const double t = log.t[k];
  const double U = log.U[k];
  const double I = log.I[k];
  const double d = log.d[k];
  std::array<double, 6> columns{};
  switch (ctx.variant.kind) {
    case CircuitVariant::Coil:
      columns = {t, I, I * ctx.params.R, U, d, I + d};
      break;
    case CircuitVariant::Capacitor:
      columns = {t, U, ctx.params.Uo - U, I, d, U + d};
      break;
  }
  std::string row;
  for (double value : columns) row += pictureNumberText(value, picture);
  return row;
}

void ShowTable(LabContext& ctx) {
  Platform& platform = ctx.platform;
  const ScreenLayout& layout = ctx.layout;
  const WindowGeometry given{ScaleX(layout, 6), ScaleY(layout, 40), 310, ScaleY(layout, 125)};
  platform.open_window(TableWindow, given);
  platform.set_output_window(TableWindow);
  platform.set_font_name("mono");

  // The given window holds neither the rows nor all lines legibly: measure, then reopen it
  // at the size that does.
  const std::vector<std::string> lines = screenLines(ctx);
  const WindowFit fit = fitTable(ctx, lines);
  const WindowGeometry& g = fit.geometry;
  if (g.x != given.x || g.y != given.y || g.width != given.width || g.height != given.height) {
    openTableWindow(ctx, g, fit.fontSize);
  }

  platform.print_text(lines.front(), true);
  platform.print_text("", true);
  for (std::size_t k = 1; k < lines.size(); ++k) platform.print_text(lines[k], true);
  WaitPrompt(ctx, fit.promptRow);

  platform.close_window(TableWindow);
  if (ctx.mainWindowGone()) return;
  platform.set_output_window(0);  // the graph comes back in the main window
  RestartGraph(ctx);
}

void PrintTable(LabContext& ctx) {
  Platform& platform = ctx.platform;
  // Any false result means the platform has told the pupil and dropped the job: stop there.
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_set_font_size(12)) return;
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_write(ctx.variant.printTableHeading, true)) return;
  if (!platform.printer_write("", true)) return;
  for (int k = 0; k < PrintedRows; ++k) {
    if (!platform.printer_write(tableRow(ctx, k, ctx.PrintValueFormat), true)) return;
  }
  if (!platform.printer_write("", true)) return;
  if (!platform.printer_end_page()) return;
  platform.printer_end_job();
}

}  // namespace lab
