// The parameter dialogs: the dialog window fitted to its prompt line, the number input, and the
// family of six dialogs that read one component value each.
#include "model/parameter_dialogs.h"

#include <algorithm>
#include <cmath>

#include "display/colours.h"
#include "display/rounding.h"
#include "display/screen_layout.h"
#include "lab_context.h"
#include "model/number_text.h"

namespace lab {

namespace {

constexpr double PromptX = 2;
constexpr double TextMargin = 8;           // pixels kept free right of and below the line
const std::string ValueGap = "    ";       // between the prompt and the present value
const std::string RoomForNumber(14, '0');  // the present value and the typed number
constexpr int FontFitPasses = 8;
constexpr double SmallestFontSize = 1;

int promptY(const LabContext& ctx) {
  return toInt32(ctx.variant.inputRowFactor * ctx.layout.YFactor);
}

// The widest prompt line of the program in the output window's present font.
double widestPromptLine(LabContext& ctx) {
  double widest = 0;
  for (const DialogData& dialog : ctx.variant.dialogs) {
    widest = std::max(widest, ctx.platform.text_width(dialog.prompt + ValueGap + RoomForNumber));
  }
  return widest;
}

// The largest font size, up to ScreenWidth * 30 / 800, at which every prompt line fits.
double fittedFontSize(LabContext& ctx, int windowWidth) {
  const double available = windowWidth - PromptX - TextMargin;
  double size = ctx.layout.ScreenWidth * 30.0 / 800;
  for (int pass = 0; pass < FontFitPasses && size > SmallestFontSize; ++pass) {
    ctx.platform.set_font_size(size);
    const double width = widestPromptLine(ctx);
    if (width <= available) break;
    // Text width grows about in proportion to the size; hinting may need another pass.
    size = std::max(SmallestFontSize, size * std::max(available, 0.0) / width * (pass ? 0.98 : 1));
  }
  return size;
}

void openWindow(LabContext& ctx, const WindowGeometry& geometry) {
  ctx.platform.open_window(ParameterWindow, geometry);
  if (!ctx.platform.set_window_background(ParameterWindow, ColourMagenta)) {
    ctx.platform.fail("Das Eingabefenster nimmt keine Hintergrundfarbe an.");
  }
}

bool accepted(const DialogData& dialog, double value) {
  const bool aboveLow = dialog.includeLow ? value >= dialog.low : value > dialog.low;
  const bool belowHigh = dialog.includeHigh ? value <= dialog.high : value < dialog.high;
  return aboveLow && belowHigh;
}

// What an accepted value sets besides its own field.
void extraStores(LabContext& ctx, Quantity quantity, double value) {
  const bool coil = ctx.variant.kind == CircuitVariant::Coil;
  switch (quantity) {
    case Quantity::Uo:
      if (!coil) ctx.params.RestartVoltage = value;
      break;
    case Quantity::Initial:
      if (coil) {
        ctx.sim.I = value;
        ctx.sampleLog.I[0] = value;
      } else {
        ctx.sampleLog.U[0] = value;
      }
      break;
    case Quantity::dt:
      ctx.sim.StepCounter = 0;
      break;
    case Quantity::R:
    case Quantity::R2:
    case Quantity::Storage:
      break;
  }
}

}  // namespace

void openParameterWindow(LabContext& ctx) {
  const ScreenLayout& layout = ctx.layout;
  Platform& platform = ctx.platform;
  // The screen's width less the left margin on both sides: the prompt lines at the dialog's
  // font size need far more than a fixed width.
  WindowGeometry geometry{ScaleX(layout, 10), ScaleY(layout, 15),
                          std::max(0, layout.ScreenWidth - 2 * ScaleX(layout, 10)),
                          std::max(0, ScaleY(layout, 30))};
  openWindow(ctx, geometry);
  const double size = fittedFontSize(ctx, geometry.width);
  platform.set_font_size(size);
  const int needed = toInt32(std::ceil(promptY(ctx) + platform.line_height() + TextMargin));
  if (needed > geometry.height) {
    // Taller than planned: open it again at the height the line needs.
    geometry.height = needed;
    openWindow(ctx, geometry);
    platform.set_font_size(size);
  }
  platform.set_colour(ColourBlack);
  platform.set_back_colour(ColourMagenta);
  platform.set_output_window(ParameterWindow);
}

void closeParameterWindow(LabContext& ctx) {
  Platform& platform = ctx.platform;
  platform.close_window(ParameterWindow);
  platform.set_output_window(0);
  // The main window is not cleared: the graph and the circuit stay and the curves go on.
  platform.set_font_size(ctx.layout.ScreenWidth * 12.0 / 800);
}

bool inputNumber(LabContext& ctx, double x, double rowFactor, const std::string& prompt,
                 double presentValue) {
  Platform& platform = ctx.platform;
  const int y = toInt32(rowFactor * ctx.layout.YFactor);
  const std::string shown = prompt + ValueGap + plainNumberText(presentValue);
  while (true) {
    // A nested command may have made another window the target.
    platform.set_output_window(ParameterWindow);
    platform.clear_window();  // no rest of a longer earlier line stays beside the new one
    platform.set_text_position(toInt32(x), y);
    platform.print_text(shown, false);
    // The field lies behind the present value, so the pupil sees it while typing.
    platform.set_text_position(toInt32(std::ceil(x + platform.text_width(shown + " "))), y);
    const LineResult line = platform.read_line();
    switch (line.status) {
      case LineStatus::WindowClosed:
        return false;
      case LineStatus::Interrupted:
        openParameterWindow(ctx);  // a nested command closed or replaced the window
        continue;
      case LineStatus::Entered:
        break;
    }
    // Only a truly empty line keeps the value; blanks alone are text that is not a number.
    if (line.text.empty()) {
      ctx.inputResult = presentValue;
      return true;
    }
    if (const auto number = parseDecimalNumber(line.text)) {
      ctx.inputResult = *number;
      return true;
    }
    // Not a number: the prompt comes back with the present value, as for a refused one.
  }
}

void parameterDialog(LabContext& ctx, Quantity quantity) {
  const DialogData& dialog = ctx.variant.dialogs[static_cast<std::size_t>(quantity)];
  openParameterWindow(ctx);
  // A refused value is only shown again; it never reaches the model.
  double present = fieldOf(ctx.params, quantity);
  while (true) {
    if (!inputNumber(ctx, PromptX, ctx.variant.inputRowFactor, dialog.prompt, present)) {
      closeParameterWindow(ctx);
      return;
    }
    present = ctx.inputResult;
    if (accepted(dialog, present)) break;
  }
  fieldOf(ctx.params, quantity) = present;
  extraStores(ctx, quantity, present);
  recomputeDerived(ctx, quantity);
  closeParameterWindow(ctx);
}

void batteryVoltageDialog(LabContext& ctx) {
  parameterDialog(ctx, Quantity::Uo);
}
void initialValueDialog(LabContext& ctx) {
  parameterDialog(ctx, Quantity::Initial);
}
void resistorRDialog(LabContext& ctx) {
  parameterDialog(ctx, Quantity::R);
}
void resistorR2Dialog(LabContext& ctx) {
  parameterDialog(ctx, Quantity::R2);
}
void storageDialog(LabContext& ctx) {
  parameterDialog(ctx, Quantity::Storage);
}
void timeStepDialog(LabContext& ctx) {
  parameterDialog(ctx, Quantity::dt);
}

}  // namespace lab
