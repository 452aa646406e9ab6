// The browser platform's line input: the page's edit field at the text position of the output
// window, in its font and colours, read until Return.
#include "platform/line_editing.h"
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

namespace {

// The page's edit field of one line input, as the shared line wait drives it.
class EditField : public LineEditing {
 public:
  EditField(WebPlatform& platform, const int& openings)
      : platform_(platform), openings_(openings) {}

  bool mainWindowOpen() override { return platform_.main_window_exists(); }
  int windowOpenings() override { return openings_; }
  bool openField() override { return lab_begin_line() != 0; }
  Field field() override {
    const int state = lab_line_state();
    if (state < 0) return Field::Gone;
    return state > 0 ? Field::Entered : Field::Editing;
  }
  std::string fieldText() override { return PageText(lab_line_text()); }
  // The page also drops what a nested key wait left unread.
  void resumeField() override { lab_resume_line(); }
  void closeField() override { lab_end_line(); }
  void waitForEvent() override { platform_.wait_for_event(); }

 private:
  WebPlatform& platform_;
  const int& openings_;
};

}  // namespace

LineResult WebPlatform::read_line() {
  EditField field(*this, openCount_[output_]);
  return editLine(field);
}

}  // namespace lab
