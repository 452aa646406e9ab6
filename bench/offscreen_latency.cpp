// Latency from a key event delivered to the main window to the paint of the new segment,
// offscreen, for coillab running its own main loop and for the baseline window. Prints one JSON
// line per subject with every sample in microseconds.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include "key_canvas.h"
#include "offscreen_screen.h"
#include "platform/qt/qt_platform.h"
#include "shell/main_procedure.h"
#include "startup_driver.h"
#include "variants/variant_data.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;
constexpr int Samples = 1000;
constexpr int PauseMs = 2;     // between a paint and the next key
constexpr int GiveUpMs = 300;  // a key that paints nothing (it answered a prompt)
constexpr int SettleMs = 300;  // after the start-up, before the first key
constexpr int StartupPollMs = 20;

// Posts key "1" to a window, notes when a given widget next paints, and repeats.
class LatencyProbe : public QObject {
 public:
  LatencyProbe(std::function<QWidget*()> keyTarget, std::function<QWidget*()> painted,
               std::function<void()> done)
      : keyTarget_(std::move(keyTarget)), painted_(std::move(painted)), done_(std::move(done)) {
    giveUp_.setSingleShot(true);
    QObject::connect(&giveUp_, &QTimer::timeout, [this] {
      awaiting_ = false;
      ++unanswered;
      nextKey();
    });
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~LatencyProbe() override { QCoreApplication::instance()->removeEventFilter(this); }

  std::vector<double> micros;
  int unanswered = 0;

  void start() { nextKey(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (awaiting_ && event->type() == QEvent::Paint && watched == painted_()) {
      awaiting_ = false;
      giveUp_.stop();
      // Fires once the paint and the flush that follows it are done.
      QTimer::singleShot(0, this, [this] {
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - sent_).count());
        QTimer::singleShot(PauseMs, this, [this] { nextKey(); });
      });
    }
    return false;
  }

 private:
  void nextKey() {
    if (static_cast<int>(micros.size()) >= Samples) {
      done_();
      return;
    }
    QWidget* target = keyTarget_();
    if (!target) return;
    awaiting_ = true;
    sent_ = Clock::now();
    QCoreApplication::postEvent(
        target, new QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1")));
    giveUp_.start(GiveUpMs);
  }

  std::function<QWidget*()> keyTarget_;
  std::function<QWidget*()> painted_;
  std::function<void()> done_;
  QTimer giveUp_;
  bool awaiting_ = false;
  Clock::time_point sent_;
};

void report(const char* subject, const LatencyProbe& probe) {
  std::string line = std::string("{\"subject\":\"") + subject +
                     "\",\"unanswered\":" + std::to_string(probe.unanswered) + ",\"micros\":[";
  for (std::size_t i = 0; i < probe.micros.size(); ++i) {
    if (i) line += ",";
    line += std::to_string(probe.micros[i]);
  }
  std::printf("%s]}\n", line.c_str());
  std::fflush(stdout);
}

// The program runs its own main loop; the probe acts from timers inside its waits and closes
// the main window when it has its samples.
void measureProgram(int& argc, char** argv) {
  lab::QtPlatform platform(argc, argv, "coillab");
  lab::bench::StartupAnswerer answerer(platform);
  LatencyProbe probe(
      [&] { return static_cast<QWidget*>(platform.mainWindow()); },
      [&] { return platform.mainWindow() ? platform.mainWindow()->centralWidget() : nullptr; },
      [&] { platform.mainWindow()->close(); });
  QTimer startWhenRunning;
  QObject::connect(&startWhenRunning, &QTimer::timeout, [&] {
    if (answerer.boxesAnswered() == 0 || answerer.boxShowing()) return;
    startWhenRunning.stop();
    QTimer::singleShot(SettleMs, [&] { probe.start(); });
  });
  startWhenRunning.start(StartupPollMs);
  lab::runMainProcedure(platform, lab::coilVariant());
  report("coillab", probe);
}

void measureBaseline() {
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("DESK |"));
  auto* canvas = new lab::bench::KeyCanvas;
  window.setCentralWidget(canvas);
  window.showMaximized();
  canvas->setFocus();
  QEventLoop loop;
  LatencyProbe probe([&] { return static_cast<QWidget*>(canvas); }, [&] { return canvas; },
                     [&] { loop.quit(); });
  QTimer::singleShot(SettleMs, [&] { probe.start(); });
  loop.exec();
  report("baseline", probe);
}

}  // namespace

int main(int argc, char** argv) {
  lab::bench::useOffscreenScreen(ScreenWidth, ScreenHeight);
  QApplication app(argc, argv);
  measureProgram(argc, argv);
  measureBaseline();
  return 0;
}
