// One time step on the real Qt platform, offscreen at 1920 x 1080: the model update, the record,
// the two clipped segments into the backing image and the repaint request. Measured per quarter
// of the first sweep and of the sweep after a wrap, so growth over a sweep would show. Also the
// redraw after a resize of the main window, against an empty main window's.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <memory>
#include <string>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>

#include "display/circuit_diagram.h"
#include "display/graph_panel.h"
#include "model/simulation.h"
#include "offscreen_screen.h"
#include "platform/qt/qt_platform.h"
#include "shell/lab_context.h"
#include "shell/main_procedure.h"
#include "startup_driver.h"
#include "tools/curve_plot.h"
#include "tools/redraw.h"
#include "variants/variant_data.h"

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of this thread: unlike the wall time it does not count the other processes that
// share the machine.
double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;
constexpr int Quarters = 4;

// A program started up to its main loop, driven step by step from here.
struct Rig {
  std::unique_ptr<lab::QtPlatform> platform;
  std::unique_ptr<lab::LabContext> ctx;
  int sweepSteps = 0;  // steps of a sweep before the step that reaches the right edge
};

int stepsBeforeWrap(const lab::LabContext& ctx) {
  double t = -ctx.params.dt;
  int steps = 0;
  while (true) {
    t = t + ctx.params.dt;
    if (lab::PlotX(ctx.layout, t) > 159 * ctx.layout.XFactor) return steps;
    ++steps;
  }
}

std::unique_ptr<Rig> startRig(int& argc, char** argv, const lab::VariantData& variant,
                              const char* name) {
  auto rig = std::make_unique<Rig>();
  rig->platform = std::make_unique<lab::QtPlatform>(argc, argv, name);
  rig->ctx = std::make_unique<lab::LabContext>(*rig->platform, variant);
  {
    lab::bench::StartupAnswerer answerer(*rig->platform);
    lab::StartupSequence(*rig->ctx);
  }
  rig->platform->process_events();
  rig->platform->mainWindow()->keys.clear();
  rig->sweepSteps = stepsBeforeWrap(*rig->ctx);
  return rig;
}

// The graph emptied, the switch on, time at the left edge; after a wrap when asked.
void freshRun(Rig& rig, bool afterWrap) {
  lab::LabContext& ctx = *rig.ctx;
  ctx.DrawMode = "j";
  lab::SwitchTo1(ctx.platform, ctx.layout, ctx.variant.kind, ctx);
  lab::newStart(ctx.platform, ctx, ctx, ctx.variant.kind);
  lab::RestartGraph(ctx.platform, ctx, ctx, ctx.variant.kind);
  rig.platform->process_events();
  if (!afterWrap) return;
  for (int i = 0; i <= rig.sweepSteps; ++i) {
    // The step that reaches the right edge waits in the continue prompt for this key.
    if (i == rig.sweepSteps) rig.platform->mainWindow()->keys.push_back(" ");
    lab::modelUpdate(ctx, ctx.variant, segmentPlotter(ctx.platform, ctx, ctx, ctx));
    rig.platform->process_events();
  }
}

// Steps through one quarter of a sweep again and again; the repaint runs between the steps,
// outside the measured time unless withPaint.
void stepQuarter(benchmark::State& state, Rig& rig, bool afterWrap, int quarter, bool withPaint) {
  lab::LabContext& ctx = *rig.ctx;
  freshRun(rig, afterWrap);
  const int first = quarter * rig.sweepSteps / Quarters;
  const int last = (quarter + 1) * rig.sweepSteps / Quarters;
  for (int i = 0; i < first; ++i) {
    lab::modelUpdate(ctx, ctx.variant, segmentPlotter(ctx.platform, ctx, ctx, ctx));
    rig.platform->process_events();
  }
  const lab::SimulationState start = ctx.sim;
  int step = first;
  double cpu = 0;
  for (auto _ : state) {
    if (step == last) {
      ctx.sim = start;
      step = first;
    }
    const double cpuBegin = threadCpuSeconds();
    const auto begin = Clock::now();
    lab::modelUpdate(ctx, ctx.variant, segmentPlotter(ctx.platform, ctx, ctx, ctx));
    if (withPaint) rig.platform->process_events();
    const auto end = Clock::now();
    cpu += threadCpuSeconds() - cpuBegin;
    state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    if (!withPaint) rig.platform->process_events();
    ++step;
  }
  state.counters["cpu_us"] = benchmark::Counter(cpu * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["x_first"] = lab::PlotX(ctx.layout, first * ctx.params.dt);
  state.counters["x_last"] = lab::PlotX(ctx.layout, (last - 1) * ctx.params.dt);
}

// A whole pass of the main loop for one key "1": the key wait, the switch drawn again, the
// step and the event processing that paints it.
void mainLoopPass(benchmark::State& state, Rig& rig) {
  lab::LabContext& ctx = *rig.ctx;
  freshRun(rig, false);
  const lab::SimulationState start = ctx.sim;
  int step = 0;
  for (auto _ : state) {
    if (step == rig.sweepSteps) {
      ctx.sim = start;
      step = 0;
    }
    rig.platform->mainWindow()->keys.push_back("1");
    lab::simulationStep(ctx.platform, ctx, ctx, ctx, ctx.variant);
    rig.platform->process_events();
    ++step;
  }
}

// The baseline of the resize: a main window with a menu bar whose area paints one blue frame.
class BlueFrame : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 0, 255)); }
};

// Resized between a restored and the full size, each time until its drawing area is painted at
// the new size: for the program the record painted again at the new scale, then shown.
void resizeAndPaint(benchmark::State& state, QMainWindow& window, QWidget& area) {
  window.showNormal();
  const QSize sizes[] = {QSize(1280, 720), QSize(ScreenWidth, ScreenHeight - 40)};
  int round = 0;
  for (auto _ : state) {
    const QSize target = sizes[round++ % 2];
    const auto begin = Clock::now();
    window.resize(target);
    for (int i = 0; i < 100 && window.size() != target; ++i) QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();  // the layout gives the drawing area its new size
    area.repaint();
    const auto end = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
  }
  state.counters["records"] = static_cast<double>(
      dynamic_cast<lab::Surface*>(&area) ? dynamic_cast<lab::Surface*>(&area)->record().size() : 0);
}

// The program with half a sweep of curves on its graph, after a wrap.
void resizeProgram(benchmark::State& state, Rig& rig) {
  lab::LabContext& ctx = *rig.ctx;
  freshRun(rig, true);
  for (int i = 0; i < rig.sweepSteps / 2; ++i) {
    lab::modelUpdate(ctx, ctx.variant, segmentPlotter(ctx.platform, ctx, ctx, ctx));
    rig.platform->process_events();
  }
  resizeAndPaint(state, *rig.platform->mainWindow(), *rig.platform->windowSurface(0));
  rig.platform->mainWindow()->showMaximized();
  rig.platform->process_events();
}

void resizeEmptyWindow(benchmark::State& state) {
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("DESK |"));
  auto* area = new BlueFrame;
  window.setCentralWidget(area);
  window.showMaximized();
  QCoreApplication::processEvents();
  resizeAndPaint(state, window, *area);
}

}  // namespace

int main(int argc, char** argv) {
  lab::bench::useOffscreenScreen(ScreenWidth, ScreenHeight);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);

  std::unique_ptr<Rig> coil = startRig(argc, argv, lab::coilVariant(), "coillab");
  std::unique_ptr<Rig> cap = startRig(argc, argv, lab::capacitorVariant(), "caplab");
  const std::string area = std::to_string(coil->ctx->layout.ScreenWidth) + "x" +
                           std::to_string(coil->ctx->layout.ScreenHeight);

  for (auto [rig, name] : {std::pair{coil.get(), "coil"}, std::pair{cap.get(), "capacitor"}}) {
    for (const bool afterWrap : {false, true}) {
      for (int quarter = 0; quarter < Quarters; ++quarter) {
        const std::string label = std::string("qtStep/") + name +
                                  (afterWrap ? "/afterWrap" : "/firstSweep") + "/quarter" +
                                  std::to_string(quarter + 1);
        benchmark::RegisterBenchmark(label.c_str(),
                                     [rig = rig, afterWrap, quarter](benchmark::State& state) {
                                       stepQuarter(state, *rig, afterWrap, quarter, false);
                                     })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
      }
    }
    benchmark::RegisterBenchmark(
        (std::string("qtStepAndPaint/") + name).c_str(),
        [rig = rig](benchmark::State& state) { stepQuarter(state, *rig, false, 1, true); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(
        (std::string("mainLoopPass/") + name).c_str(),
        [rig = rig](benchmark::State& state) { mainLoopPass(state, *rig); })
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark(
      "qtResize/coil", [rig = coil.get()](benchmark::State& state) { resizeProgram(state, *rig); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("qtResize/emptyWindow", resizeEmptyWindow)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::AddCustomContext("drawing_area", area);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
