// Whole programs on the Qt platform driven by a script of steps, and the layout arithmetic.
#include "program_driver.h"

#include <cstdlib>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include "shell/main_procedure.h"
#include "variants/variant_data.h"

namespace lab::gui {

std::optional<int> Grid::plotY(double v, int zeroY) const {
  const long a = static_cast<long>(std::nearbyint(v * -300));
  const long b = a * h / 200;
  const double c = b * 0.01 + zeroY;
  if (std::abs(c - std::floor(c) - 0.5) < 1e-6) return std::nullopt;
  return nearest(c);
}

std::string readingText(int d, int screenHeight) {
  const long n = static_cast<long>(std::nearbyint(10.0 * d / 3));
  const long tenths = 200 * n / screenHeight;
  const std::string sign = tenths < 0 ? "-" : "";
  const long magnitude = std::labs(tenths);
  if (magnitude % 10 == 0) return sign + std::to_string(magnitude / 10);
  return sign + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

namespace {

int argc = 1;
char programName[] = "gui_tests";
char* argv[] = {programName, nullptr};

}  // namespace

ProgramRun::ProgramRun(const VariantData& variant, int timeoutMs)
    : variant_(variant),
      platform_(std::make_unique<QtPlatform>(argc, argv, variant.programName)),
      ctx_(std::make_unique<LabContext>(*platform_, variant)) {
  QObject::connect(&ticker_, &QTimer::timeout, [this] { tick(); });
  ticker_.setSingleShot(true);
  watchdog_.setSingleShot(true);
  QObject::connect(&watchdog_, &QTimer::timeout, [this] {
    timedOut_ = true;
    if (platform_->mainWindow()) platform_->mainWindow()->close();
  });
  watchdog_.setInterval(timeoutMs);
}

ProgramRun::~ProgramRun() = default;

void ProgramRun::tick() {
  // A step may run a nested wait of its own, so the timer is started again only afterwards.
  if (next_ < steps_.size() && steps_[next_]()) ++next_;
  if (next_ < steps_.size()) ticker_.start(5);
}

ProgramRun& ProgramRun::then(std::function<bool()> step) {
  steps_.push_back(std::move(step));
  return *this;
}

ProgramRun& ProgramRun::afterTitle() {
  then([this] {
    // The title screen has drawn its panels; with no menu yet it waits in its prompt.
    if (!platform_->main_window_exists() || !image()) return false;
    const Grid g = grid();
    if (at(g.scaleX(100), g.scaleY(190)) != QColor(0, 0, 255)) return false;
    postKeys("\r", 1);
    return true;
  });
  return answerBox();
}

ProgramRun& ProgramRun::answerBox(std::string* text) {
  return then([this, text] {
    QMessageBox* box = platform_->currentMessageBox();
    if (!box || !box->isVisible()) return false;
    if (text) *text = box->text().toStdString();
    box->defaultButton()->click();
    return true;
  });
}

ProgramRun& ProgramRun::choose(int index) {
  return then([this, index] {
    if (boxShowing()) return false;
    QAction* action = entry(index);
    if (!action) return false;
    action->trigger();
    return true;
  });
}

ProgramRun& ProgramRun::keys(const QString& text, int count) {
  return then([this, text, count] {
    if (!platform_->main_window_exists() || boxShowing()) return false;
    postKeys(text, count);
    return true;
  });
}

void ProgramRun::postKeys(const QString& text, int count) {
  const int key = text == "\r" ? int(Qt::Key_Return) : int(text.at(0).unicode());
  for (int i = 0; i < count; ++i) {
    // Held down: the first press and then the auto-repeats.
    QApplication::postEvent(platform_->mainWindow(),
                            new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text, i > 0));
  }
}

ProgramRun& ProgramRun::typeLine(const QString& line) {
  return then([this, line] {
    QLineEdit* edit = field();
    if (!edit || !fieldHasKeys()) return false;
    for (QChar c : line) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(edit, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(edit, &enter);
    return true;
  });
}

ProgramRun& ProgramRun::close() {
  return then([this] {
    if (!platform_->mainWindow()) return false;
    platform_->mainWindow()->close();
    return true;
  });
}

void ProgramRun::run() {
  ticker_.start(5);
  watchdog_.start();
  StartupSequence(*ctx_);
  mainLoop(*ctx_);
  shutDown((*ctx_).platform);
  ticker_.stop();
  watchdog_.stop();
}

int ProgramRun::runMain() {
  ticker_.start(5);
  watchdog_.start();
  const int status = runMainProcedure(*platform_, variant_);
  ticker_.stop();
  watchdog_.stop();
  return status;
}

QColor ProgramRun::at(int x, int y, int window) const {
  const QImage* picture = image(window);
  if (!picture || !picture->rect().contains(x, y)) return QColor();
  return picture->pixelColor(x, y);
}

QAction* ProgramRun::entry(int index) const {
  MainWindow* window = platform_->mainWindow();
  if (!window) return nullptr;
  // Each group holds its title, its entries and one empty text; the next title follows.
  int title = 0;
  for (QAction* group : window->menuBar()->actions()) {
    if (!group->menu()) continue;
    const QList<QAction*> entries = group->menu()->actions();
    if (index > title && index <= title + entries.size()) return entries.at(index - title - 1);
    title += static_cast<int>(entries.size()) + 2;
  }
  return nullptr;
}

QLineEdit* ProgramRun::field() const {
  Surface* frame = platform_->windowSurface(2);
  return frame ? frame->findChild<QLineEdit*>() : nullptr;
}

bool ProgramRun::fieldHasKeys() const {
  QLineEdit* edit = field();
  return edit && platform_->mainWindow()->focusWidget() == edit;
}

bool ProgramRun::boxShowing() const {
  const QMessageBox* box = platform_->currentMessageBox();
  return box && box->isVisible();
}

QString ProgramRun::pictureFolder() {
  // The build puts the pictures at its top, one folder above the test program.
  const QDir build(QCoreApplication::applicationDirPath() + "/..");
  if (build.exists("einschemspule.gif")) return build.absolutePath();
  return QFileInfo(QString(__FILE__)).dir().absoluteFilePath("../../assets");
}

int countColour(const QImage& image, const QRect& rect, const QColor& colour) {
  int count = 0;
  const QRect inside = rect.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (image.pixelColor(x, y) == colour) ++count;
    }
  }
  return count;
}

int countOther(const QImage& image, const QRect& rect, const QColor& colour) {
  const QRect inside = rect.intersected(image.rect());
  return inside.width() * inside.height() - countColour(image, inside, colour);
}

}  // namespace lab::gui
