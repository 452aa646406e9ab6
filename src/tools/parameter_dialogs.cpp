// The parameter dialogs: the dialog window fitted to its prompt line, the number input, and the
// family of six dialogs that read one component value each.
#include "tools/parameter_dialogs.h"

#include <algorithm>
#include <cmath>

#include "display/colours.h"
#include "display/rounding.h"
#include "display/screen_layout.h"
#include "model/model_state.h"
#include "model/number_text.h"
#include "platform/platform.h"
#include "tools/tools_state.h"

namespace lab {

namespace {

constexpr double PromptX = 2;
constexpr double TextMargin = 8;           // pixels kept free right of and below the line
const std::string ValueGap = "    ";       // between the prompt and the present value
const std::string RoomForNumber(14, '0');  // the present value and the typed number
constexpr int FontFitPasses = 8;
constexpr double SmallestFontSize = 1;

int promptY(const ScreenLayout& layout, const ToolsVariant& variant) {
  return toInt32(variant.inputRowFactor * layout.YFactor);
}

// The widest prompt line of the program in the output window's present font.
double widestPromptLine(Platform& platform, const ToolsVariant& variant) {
  double widest = 0;
  for (const DialogData& dialog : variant.dialogs) {
    widest = std::max(widest, platform.text_width(dialog.prompt + ValueGap + RoomForNumber));
  }
  return widest;
}

// The largest font size, up to ScreenWidth * 30 / 800, at which every prompt line fits.
double fittedFontSize(Platform& platform, const ScreenLayout& layout, const ToolsVariant& variant,
                      int windowWidth) {
  const double available = windowWidth - PromptX - TextMargin;
  double size = layout.ScreenWidth * 30.0 / 800;
  for (int pass = 0; pass < FontFitPasses && size > SmallestFontSize; ++pass) {
    platform.set_font_size(size);
    const double width = widestPromptLine(platform, variant);
    if (width <= available) break;
    // Text width grows about in proportion to the size; hinting may need another pass.
    size = std::max(SmallestFontSize, size * std::max(available, 0.0) / width * (pass ? 0.98 : 1));
  }
  return size;
}

void openWindow(Platform& platform, const WindowGeometry& geometry) {
  platform.open_window(ParameterWindow, geometry);
  if (!platform.set_window_background(ParameterWindow, ColourMagenta)) {
    platform.fail("Das Eingabefenster nimmt keine Hintergrundfarbe an.");
  }
}

bool accepted(const DialogData& dialog, double value) {
  const bool aboveLow = dialog.includeLow ? value >= dialog.low : value > dialog.low;
  const bool belowHigh = dialog.includeHigh ? value <= dialog.high : value < dialog.high;
  return aboveLow && belowHigh;
}

}  // namespace

void openParameterWindow(Platform& platform, const ScreenLayout& layout,
                         const ToolsVariant& variant) {
  // The screen's width less the left margin on both sides: the prompt lines at the dialog's
  // font size need far more than a fixed width.
  WindowGeometry geometry{ScaleX(layout, 10), ScaleY(layout, 15),
                          std::max(0, layout.ScreenWidth - 2 * ScaleX(layout, 10)),
                          std::max(0, ScaleY(layout, 30))};
  openWindow(platform, geometry);
  const double size = fittedFontSize(platform, layout, variant, geometry.width);
  platform.set_font_size(size);
  const int needed =
      toInt32(std::ceil(promptY(layout, variant) + platform.line_height() + TextMargin));
  if (needed > geometry.height) {
    // Taller than planned: open it again at the height the line needs.
    geometry.height = needed;
    openWindow(platform, geometry);
    platform.set_font_size(size);
  }
  platform.set_colour(ColourBlack);
  platform.set_back_colour(ColourMagenta);
  platform.set_output_window(ParameterWindow);
}

void closeParameterWindow(Platform& platform, const ScreenLayout& layout) {
  platform.close_window(ParameterWindow);
  platform.set_output_window(0);
  // The main window is not cleared: the graph and the circuit stay and the curves go on.
  platform.set_font_size(layout.ScreenWidth * 12.0 / 800);
}

bool inputNumber(Platform& platform, const ScreenLayout& layout, ToolsState& tools,
                 const ToolsVariant& variant, double x, double rowFactor, const std::string& prompt,
                 double presentValue) {
  const int y = toInt32(rowFactor * layout.YFactor);
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
        openParameterWindow(platform, layout,
                            variant);  // a nested command closed or replaced the window
        continue;
      case LineStatus::Entered:
        break;
    }
    // Only a truly empty line keeps the value; blanks alone are text that is not a number.
    if (line.text.empty()) {
      tools.inputResult = presentValue;
      return true;
    }
    if (const auto number = parseDecimalNumber(line.text)) {
      tools.inputResult = *number;
      return true;
    }
    // Not a number: the prompt comes back with the present value, as for a refused one.
  }
}

void parameterDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                     ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind,
                     Quantity quantity) {
  const DialogData& dialog = variant.dialogs[static_cast<std::size_t>(quantity)];
  openParameterWindow(platform, layout, variant);
  // A refused value is only shown again; it never reaches the model.
  double present = fieldOf(model.params, quantity);
  while (true) {
    if (!inputNumber(platform, layout, tools, variant, PromptX, variant.inputRowFactor,
                     dialog.prompt, present)) {
      closeParameterWindow(platform, layout);
      return;
    }
    present = tools.inputResult;
    if (accepted(dialog, present)) break;
  }
  storeParameter(model, kind, quantity, present);
  closeParameterWindow(platform, layout);
}

void batteryVoltageDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                          ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind) {
  parameterDialog(platform, model, layout, tools, variant, kind, Quantity::Uo);
}
void initialValueDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                        ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind) {
  parameterDialog(platform, model, layout, tools, variant, kind, Quantity::Initial);
}
void resistorRDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                     ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind) {
  parameterDialog(platform, model, layout, tools, variant, kind, Quantity::R);
}
void resistorR2Dialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                      ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind) {
  parameterDialog(platform, model, layout, tools, variant, kind, Quantity::R2);
}
void storageDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                   ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind) {
  parameterDialog(platform, model, layout, tools, variant, kind, Quantity::Storage);
}
void timeStepDialog(Platform& platform, ModelState& model, const ScreenLayout& layout,
                    ToolsState& tools, const ToolsVariant& variant, CircuitVariant kind) {
  parameterDialog(platform, model, layout, tools, variant, kind, Quantity::dt);
}

}  // namespace lab
