// The menu bar built from the program's texts, and the command of each menu index.
#include "shell/menu.h"

#include <cstddef>
#include <string>

#include "display/colours.h"
#include "shell/lab_context.h"
#include "shell/messages.h"
#include "tools/curve_plot.h"
#include "tools/mouse_measure.h"
#include "tools/parameter_dialogs.h"
#include "tools/redraw.h"
#include "tools/schematic.h"
#include "tools/table_of_values.h"
#include "tools/value_summary_box.h"

namespace lab {

void BuildMenu(LabContext& ctx) {
  const std::vector<std::string>& texts = ctx.variant.BuiltInTexts;
  std::size_t write = 0;
  for (std::size_t item = 0; item < texts.size() && write < ctx.MenuTable.size(); ++item) {
    ctx.MenuTable[write] = texts[item];
    if (texts[item] == "ende") {
      ctx.MenuTable[write].clear();  // the second empty text after the last group
      break;
    }
    if (texts[item] != "*") ++write;  // the "" after "*" takes its place as the group's end
  }
  ctx.platform.install_menu(ctx.MenuTable, [&ctx](int index) { Win_0_MenuEvent(ctx, index); });
}

namespace {

constexpr int QuitIndex = 1;

// Counts a running command for as long as it runs, however it ends.
class CommandLevel {
 public:
  explicit CommandLevel(int& depth) : depth_(depth) { ++depth_; }
  ~CommandLevel() { --depth_; }
  CommandLevel(const CommandLevel&) = delete;
  CommandLevel& operator=(const CommandLevel&) = delete;

 private:
  int& depth_;
};

void runCommand(LabContext& ctx, int index) {
  Platform& platform = ctx.platform;
  const VariantData& variant = ctx.variant;
  const CircuitVariant kind = variant.kind;
  ModelState& model = ctx;
  DisplayState& display = ctx;
  ToolsState& tools = ctx;
  ShellState& shell = ctx;
  switch (index) {
    // DESK
    case QuitIndex:
      tools.QuitMarker = std::string("*");  // a temporary: GCC 12 warns falsely on the literal
      break;
    case 2:
      ClearScreen(platform, model, display, kind, variant);
      break;
    case 3:
      newStart(platform, model, display, kind);
      break;
    case 4:
      ShowHelpText(platform, shell, model, display, kind);
      break;
    case 5:
      ShowAuthor(platform);
      break;
    // BAUTEILE
    case 8:
      showValueSummary(platform, model, display, variant, messageShower(platform, shell));
      break;
    case 9:
      ClearScreen(platform, model, display, kind, variant);
      break;
    case 10:
      batteryVoltageDialog(platform, model, display.layout, tools, variant, kind);
      break;
    case 11:
      initialValueDialog(platform, model, display.layout, tools, variant, kind);
      break;
    case 12:
      resistorRDialog(platform, model, display.layout, tools, variant, kind);
      break;
    case 13:
      resistorR2Dialog(platform, model, display.layout, tools, variant, kind);
      break;
    case 14:
      storageDialog(platform, model, display.layout, tools, variant, kind);
      break;
    case 15:
      timeStepDialog(platform, model, display.layout, tools, variant, kind);
      break;
    // AUSGABE
    case 18:
      setDrawModeEmptyWindow(tools);
      break;
    case 19:
      setDrawModeOverwrite(tools);
      break;
    case 20:
      ClearScreen(platform, model, display, kind, variant);
      break;
    case 21:
      ShowNotImplemented(platform, shell);
      break;
    case 22:
      ClearScreen(platform, model, display, kind, variant);
      break;
    case 23:
      ShowTable(platform, model, display, tools, variant, kind);
      break;
    case 24:
      PrintTable(platform, model, tools, variant, kind);
      break;
    case 26:
      ShowSchematic(platform, model, display, tools, kind, variant, variant.switchOnPicture,
                    variant.switchOnPictureText);
      break;
    case 27:
      ShowSchematic(platform, model, display, tools, kind, variant, variant.switchOffPicture,
                    variant.switchOffPictureText);
      break;
    case 29:
      MouseMeasure(platform, display.layout, tools, kind, messageShower(platform, shell));
      break;
    // Umschalten - <0> oder <1> !
    case 32:
      ShowKeysHelp(platform, shell);
      break;
    default:
      break;  // titles, group ends, the two idle dividers and unused indices
  }
}

}  // namespace

void Win_0_MenuEvent(LabContext& ctx, int& index) {
  ++ctx.MenuChoiceCount;
  // Quit only sets the marker, so it is taken at any depth.
  if (ctx.CommandDepth >= MaxCommandDepth && index != QuitIndex) {
    ctx.MessageText = "Zu viele Befehle ineinander: erst die offenen beenden.";
    ShowMessage(ctx.platform, ctx);
    return;
  }
  const CommandLevel level(ctx.CommandDepth);
  // Every command draws on the main window, whichever window the interrupted wait writes to.
  ctx.platform.set_output_window(0);
  ctx.platform.set_colour(ColourWhite);
  ctx.platform.set_text_position(10, 10);
  runCommand(ctx, index);
}

}  // namespace lab
