// Whole programs on the Qt platform, driven by a script of steps that run inside the program's
// own waits; and the layout arithmetic that the pixel checks are computed with.
#pragma once

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QColor>
#include <QImage>
#include <QString>
#include <QTimer>

#include "platform/qt/qt_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

class QLineEdit;

namespace lab::gui {

// The 320 x 200 design grid and its anchors for a drawing size, written out on their own so the
// checks do not repeat the code under test.
struct Grid {
  int w = 0;
  int h = 0;
  int scaleX(int v) const { return v * w / 320; }
  int scaleY(int v) const { return v * h / 200; }
  // The default rounding mode rounds halves to even.
  static int nearest(double v) { return static_cast<int>(std::nearbyint(v)); }
  int graphRight() const { return nearest(159.0 * w / 320 + 1); }
  int voltageTop() const { return scaleY(2); }
  int voltageBottom() const { return scaleY(92); }
  int currentTop() const { return scaleY(95); }
  int currentBottom() const { return scaleY(186); }
  int voltageZero() const { return nearest((voltageTop() + voltageBottom()) * 0.5); }
  int currentZero() const { return nearest((currentTop() + currentBottom()) * 0.5); }
  int plotX(double t) const { return nearest(t * 10 * w / 320.0 + 10); }
  // Nothing when the value falls on a rounding tie, where last-bit differences decide.
  std::optional<int> plotY(double v, int zeroY) const;
  // The y of the continue prompt at a grid row.
  int promptY(int row) const { return nearest(row * h / 200.0); }
};

// The reading of the mouse measuring for a height difference in pixels, as text.
std::string readingText(int d, int screenHeight);

// One run of a program with its context open for inspection. Steps are added with then();
// each runs from the event loop, again and again until it returns true, then the next one.
class ProgramRun {
 public:
  explicit ProgramRun(const VariantData& variant, int timeoutMs = 4000);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  ProgramRun& then(std::function<bool()> step);
  // Common steps.
  ProgramRun& afterTitle();  // the title screen shows: press a key, answer the keys help
  ProgramRun& answerBox(std::string* text = nullptr);
  ProgramRun& choose(int index);                         // the menu entry of that table index
  ProgramRun& keys(const QString& text, int count = 1);  // posted, read by the key wait
  ProgramRun& typeLine(const QString& line);             // into the dialog's field, then Return
  ProgramRun& close();  // the main window, as its close button does

  // Start-up, main loop and shut-down with the context kept here.
  void run();
  // The same through the programs' own entry; its exit status.
  int runMain();

  bool finished() const { return next_ >= steps_.size(); }
  bool timedOut() const { return timedOut_; }
  std::size_t stepsDone() const { return next_; }

  QtPlatform& platform() { return *platform_; }
  LabContext& ctx() { return *ctx_; }
  Grid grid() { return {platform_->display_width(), platform_->display_height()}; }
  QColor at(int x, int y, int window = 0) const;
  const QImage* image(int window = 0) const { return platform_->windowImage(window); }
  QAction* entry(int index) const;
  QLineEdit* field() const;   // the line input of the dialog window, if one waits
  bool fieldHasKeys() const;  // a line input waits and the main window gives it the keys
  bool boxShowing() const;
  // The folder with the four pictures of the build.
  static QString pictureFolder();

 private:
  void tick();
  void postKeys(const QString& text, int count);

  const VariantData& variant_;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<LabContext> ctx_;
  std::vector<std::function<bool()>> steps_;
  std::size_t next_ = 0;
  QTimer ticker_;
  QTimer watchdog_;
  bool timedOut_ = false;
};

// Pixels of an image rectangle that have the colour, and that differ from it.
int countColour(const QImage& image, const QRect& rect, const QColor& colour);
int countOther(const QImage& image, const QRect& rect, const QColor& colour);

}  // namespace lab::gui
