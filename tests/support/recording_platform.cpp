// The recording test platform: a call log and a replayed script of input events.
#include "recording_platform.h"

#include <iomanip>
#include <sstream>

namespace lab::test {

namespace {

// A captured band or a loaded picture, known by what it came from.
struct RecordedImage : PlatformImage {
  explicit RecordedImage(std::string name_) : name(std::move(name_)) {}
  std::string name;
};

std::string colourText(Colour c) {
  return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
}

}  // namespace

std::string num(double value) {
  std::ostringstream out;
  out << std::setprecision(10) << value;
  return out.str();
}

RecordingPlatform::RecordingPlatform(int width, int height) : SilentPlatform(width, height) {}

RecordingPlatform& RecordingPlatform::key(const std::string& characters) {
  for (char c : characters) script_.push_back(KeyEvent{std::string(1, c)});
  return *this;
}

RecordingPlatform& RecordingPlatform::line(const std::string& text) {
  script_.push_back(LineEvent{text});
  return *this;
}

RecordingPlatform& RecordingPlatform::mouse(int x, int y, int buttons) {
  script_.push_back(MouseEvent{x, y, buttons});
  return *this;
}

RecordingPlatform& RecordingPlatform::menu(int index) {
  script_.push_back(MenuEvent{index});
  return *this;
}

RecordingPlatform& RecordingPlatform::pointKey(int dx, int dy) {
  script_.push_back(PointKey{dx, dy, false});
  return *this;
}

RecordingPlatform& RecordingPlatform::escapeKey() {
  script_.push_back(PointKey{0, 0, true});
  return *this;
}

RecordingPlatform& RecordingPlatform::closeMainWindow() {
  script_.push_back(CloseEvent{});
  return *this;
}

std::vector<std::string> RecordingPlatform::callsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const auto& call : calls) {
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  }
  return found;
}

std::vector<std::string> RecordingPlatform::takeCalls() {
  std::vector<std::string> taken(calls.begin() + static_cast<std::ptrdiff_t>(takenCalls_),
                                 calls.end());
  takenCalls_ = calls.size();
  return taken;
}

void RecordingPlatform::apply(const Event& event) {
  if (const auto* k = std::get_if<KeyEvent>(&event)) {
    keys_.push_back(k->character);
  } else if (const auto* l = std::get_if<LineEvent>(&event)) {
    log("typed-outside-input " + l->text);  // a line event outside a line input is lost
  } else if (const auto* m = std::get_if<MouseEvent>(&event)) {
    mousePosition_ = {m->x, m->y};
    mouseButtons_ = m->buttons;
  } else if (const auto* p = std::get_if<PointKey>(&event)) {
    pointKeys_.push_back(*p);
  } else if (const auto* menuEvent = std::get_if<MenuEvent>(&event)) {
    log("menu " + std::to_string(menuEvent->index));
    if (menuHandler_) menuHandler_(menuEvent->index);
  } else {
    log("close-main-window");
    mainOpen_ = false;
    closeRequested_ = true;
    open_.erase(0);
  }
}

void RecordingPlatform::open_main_window() {
  log("open_main_window");
  mainOpen_ = true;
  open_.insert(0);
  ++openCount_[0];
  output_ = 0;
}

void RecordingPlatform::open_window(int number, const WindowGeometry& g) {
  log("open_window " + std::to_string(number) + " " + std::to_string(g.x) + " " +
      std::to_string(g.y) + " " + std::to_string(g.width) + " " + std::to_string(g.height));
  open_.insert(number);
  ++openCount_[number];
  fontSize_.erase(number);
  output_ = number;
}

void RecordingPlatform::close_window(int number) {
  log("close_window " + std::to_string(number));
  if (number == 0) mainOpen_ = false;
  if (open_.erase(number) > 0) ++openCount_[number];
  if (output_ == number) output_ = 0;
}

void RecordingPlatform::activate_window(int number) {
  log("activate_window " + std::to_string(number));
}

void RecordingPlatform::set_caption(int number, const std::string& caption) {
  log("set_caption " + std::to_string(number) + " " + caption);
}

bool RecordingPlatform::set_window_background(int number, Colour colour) {
  log("set_window_background " + std::to_string(number) + " " + colourText(colour));
  return !refuseWindowBackground;
}

void RecordingPlatform::set_output_window(int number) {
  log("set_output_window " + std::to_string(number));
  output_ = number;
}

void RecordingPlatform::clear_window() {
  log("clear_window " + std::to_string(output_));
}

bool RecordingPlatform::main_window_exists() {
  return mainOpen_;
}

bool RecordingPlatform::close_requested() {
  return closeRequested_;
}

void RecordingPlatform::wait_for_event() {
  if (script_.empty()) {
    exhausted_ = true;
    mainOpen_ = false;
    open_.erase(0);
    return;
  }
  Event event = script_.front();
  script_.pop_front();
  apply(event);
}

void RecordingPlatform::end_of_run() {
  log("end_of_run");
}

void RecordingPlatform::fail(const std::string& what) {
  log("fail " + what);
  throw RuntimeStop(what);
}

void RecordingPlatform::set_colour(Colour c) {
  log("set_colour " + colourText(c));
}
void RecordingPlatform::set_back_colour(Colour c) {
  log("set_back_colour " + colourText(c));
}
void RecordingPlatform::set_line_style(LineStyle) {
  log("set_line_style solid");
}
void RecordingPlatform::set_line_width(int pixels) {
  log("set_line_width " + std::to_string(pixels));
}

void RecordingPlatform::draw_line(double x1, double y1, double x2, double y2) {
  log("draw_line " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2));
}

void RecordingPlatform::draw_box(double x1, double y1, double x2, double y2) {
  log("draw_box " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2));
}

void RecordingPlatform::fill_box(double x1, double y1, double x2, double y2) {
  log("fill_box " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2));
}

void RecordingPlatform::draw_circle(double cx, double cy, double radius) {
  log("draw_circle " + num(cx) + " " + num(cy) + " " + num(radius));
}

void RecordingPlatform::draw_text(double x, double y, const std::string& text) {
  log("draw_text " + num(x) + " " + num(y) + " " + text);
}

void RecordingPlatform::set_font_name(const std::string& name) {
  log("set_font_name " + name);
}
void RecordingPlatform::set_font_size(double size) {
  log("set_font_size " + num(size));
  fontSize_[output_] = size;
}

double RecordingPlatform::text_width(const std::string& text) {
  std::size_t characters = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++characters;  // count UTF-8 lead bytes only
  }
  const auto found = fontSize_.find(output_);
  return static_cast<double>(characters) * (found == fontSize_.end() ? 12.0 : found->second) / 2;
}

double RecordingPlatform::line_height() {
  const auto found = fontSize_.find(output_);
  return 1.2 * (found == fontSize_.end() ? 12.0 : found->second);
}
void RecordingPlatform::set_text_transparent(bool transparent) {
  log(std::string("set_text_transparent ") + (transparent ? "on" : "off"));
}

void RecordingPlatform::set_clip(double x1, double y1, double x2, double y2) {
  log("set_clip " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2));
}

void RecordingPlatform::clear_clip() {
  log("clear_clip");
}

ImageHandle RecordingPlatform::capture_image(int x1, int y1, int x2, int y2) {
  std::string name = "[" + std::to_string(x1) + " " + std::to_string(y1) + " " +
                     std::to_string(x2) + " " + std::to_string(y2) + "]";
  log("capture_image " + name);
  return std::make_shared<RecordedImage>(name);
}

void RecordingPlatform::put_image(const ImageHandle& image, int x, int y) {
  const auto* recorded = dynamic_cast<const RecordedImage*>(image.get());
  log("put_image " + (recorded ? recorded->name : std::string("?")) + " " + std::to_string(x) +
      " " + std::to_string(y));
}

void RecordingPlatform::set_text_position(int x, int y) {
  log("set_text_position " + std::to_string(x) + " " + std::to_string(y));
}

void RecordingPlatform::print_text(const std::string& text, bool line_end) {
  log("print_text " + std::to_string(output_) + " " + text + (line_end ? "\\n" : ""));
}

std::string RecordingPlatform::read_key() {
  if (menusInsideKeyRead && !script_.empty() &&
      std::holds_alternative<MenuEvent>(script_.front())) {
    const Event event = script_.front();
    script_.pop_front();
    apply(event);
  }
  if (keys_.empty()) return "";
  std::string k = keys_.front();
  keys_.pop_front();
  return k;
}

LineResult RecordingPlatform::read_line() {
  const int window = output_;
  const int opened = openCount_[window];
  log("read_line " + std::to_string(window));
  while (true) {
    if (!mainOpen_) return {LineStatus::WindowClosed, ""};
    if (script_.empty()) {
      exhausted_ = true;
      mainOpen_ = false;
      open_.erase(0);
      return {LineStatus::WindowClosed, ""};
    }
    Event event = script_.front();
    script_.pop_front();
    if (const auto* l = std::get_if<LineEvent>(&event)) {
      log("typed " + l->text);
      return {LineStatus::Entered, l->text};
    }
    if (std::holds_alternative<KeyEvent>(event)) continue;  // keys go to the edit field
    apply(event);
    if (!mainOpen_) return {LineStatus::WindowClosed, ""};
    if (openCount_[window] != opened) return {LineStatus::Interrupted, ""};
  }
}

MousePosition RecordingPlatform::mouse_position() {
  return mousePosition_;
}
int RecordingPlatform::mouse_buttons() {
  return mouseButtons_;
}

PointKey RecordingPlatform::read_point_key() {
  if (pointKeys_.empty()) return {};
  const PointKey key = pointKeys_.front();
  pointKeys_.pop_front();
  return key;
}

void RecordingPlatform::show_point(std::optional<MousePosition> point) {
  shownPoints.push_back(point ? std::to_string(point->x) + " " + std::to_string(point->y) : "none");
}

void RecordingPlatform::announce(const std::string& text) {
  spoken.push_back(text);
}

void RecordingPlatform::describe_drawing(const std::string& text) {
  descriptions.push_back(text);
}

void RecordingPlatform::show_table_cells(const std::vector<std::vector<std::string>>& rows) {
  tableCells = rows;
}

void RecordingPlatform::set_cursor(CursorShape shape) {
  log(std::string("set_cursor ") + (shape == CursorShape::Arrow ? "arrow" : "cross"));
}

void RecordingPlatform::message_box(const std::string& text, BoxSymbol symbol) {
  log(std::string("message_box ") + (symbol == BoxSymbol::Author ? "author " : "") + text);
  messageBoxes.push_back(text);
  // A box is modal: only the closing of the main window can happen while it shows.
  if (!script_.empty() && std::holds_alternative<CloseEvent>(script_.front())) {
    apply(script_.front());
    script_.pop_front();
  }
}

void RecordingPlatform::install_menu(const std::vector<std::string>& table, MenuHandler handler) {
  log("install_menu");
  menuTable = table;
  menuHandler_ = std::move(handler);
}

bool RecordingPlatform::printer_write(const std::string& text, bool line_end) {
  if (printerFails) {
    log("printer_write failed");
    return false;
  }
  if (!jobOpen_) log("printer_open_job");
  jobOpen_ = true;
  pendingPrintLine_ += text;
  if (line_end) {
    printedLines.push_back(pendingPrintLine_);
    pendingPrintLine_.clear();
  }
  return true;
}

bool RecordingPlatform::printer_set_font_size(double size) {
  log("printer_set_font_size " + num(size));
  return !printerFails;
}

bool RecordingPlatform::printer_end_page() {
  log("printer_end_page");
  return !printerFails;
}

bool RecordingPlatform::printer_end_job() {
  log("printer_end_job");
  jobOpen_ = false;
  return !printerFails;
}

ImageHandle RecordingPlatform::load_picture(const std::string& file_name) {
  if (availablePictures.count(file_name) == 0) {
    log("load_picture " + file_name + " missing");
    return nullptr;
  }
  log("load_picture " + file_name);
  return std::make_shared<RecordedImage>(file_name);
}

void RecordingPlatform::put_picture_stretched(const ImageHandle& picture, int x, int y, int width,
                                              int height) {
  const auto* recorded = dynamic_cast<const RecordedImage*>(picture.get());
  log("put_picture_stretched " + (recorded ? recorded->name : std::string("?")) + " " +
      std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
      std::to_string(height));
}

std::string RecordingPlatform::picture_folder() {
  return "/pictures";
}

bool RecordingPlatform::set_current_folder(const std::string& folder) {
  log("set_current_folder " + folder);
  currentFolder = folder;
  return true;
}

}  // namespace lab::test
