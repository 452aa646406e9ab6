// "W&erte zeigen": the component values with their units in one message box, then a restart of
// the run on the blank graph.
#include "tools/value_summary_box.h"

#include "model/model_state.h"
#include "model/value_summary.h"
#include "platform/platform.h"
#include "tools/redraw.h"

namespace lab {

void showValueSummary(Platform& platform, ModelState& model, DisplayState& display,
                      const ModelVariant& variant, const MessageHandler& showMessage) {
  showMessage(valueSummaryText(model.params, variant));
  if (!platform.main_window_exists()) return;
  // The blank graph goes back into the main window, also when a dialog's window is the target.
  platform.set_output_window(0);
  RestartGraph(platform, model, display, variant.kind);
}

}  // namespace lab
