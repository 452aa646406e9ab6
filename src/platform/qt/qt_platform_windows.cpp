// The Qt platform's windows and stage: the maximized main window with its drawing area, the
// frames of windows 2 and 3, the waits for the next event, and the end of the program.
#include "platform/high_contrast.h"
#include "platform/qt/qt_platform.h"

#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "platform/platform_texts.h"
#include "platform/qt/safe_coordinates.h"

namespace lab {

namespace {

// A repaint is no news to a wait: a loop that draws and then waits would wake itself for ever.
class NewsCounter : public QObject {
 public:
  explicit NewsCounter(unsigned long& news) : news_(news) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::Paint && type != QEvent::UpdateRequest && type != QEvent::UpdateLater) {
      ++news_;
    }
    return false;
  }

 private:
  unsigned long& news_;
};

}  // namespace

QtPlatform::QtPlatform(int& argc, char** argv, std::string programName)
    : programName_(std::move(programName)),
      printer_([this](const std::string& text) { message_box(text, BoxSymbol::Information); }) {
  if (!QApplication::instance()) ownedApp_ = std::make_unique<QApplication>(argc, argv);
  // The program decides when it ends, not the closing of its last window.
  QApplication::setQuitOnLastWindowClosed(false);
  newsCounter_ = std::make_unique<NewsCounter>(news_);
  QCoreApplication::instance()->installEventFilter(newsCounter_.get());
}

QtPlatform::~QtPlatform() {
  destroyWindows();
}

void QtPlatform::destroyWindows() {
  delete main_;
  main_ = nullptr;
  root_ = nullptr;
  frames_.clear();
  mainOpen_ = false;
}

const QImage* QtPlatform::windowImage(int number) const {
  const Surface* surface = windowSurface(number);
  return surface ? &surface->image() : nullptr;
}

Surface* QtPlatform::windowSurface(int number) const {
  if (number == 0) return root_;
  const auto found = frames_.find(number);
  return found == frames_.end() ? nullptr : found->second.data();
}

Surface* QtPlatform::output() const {
  return windowSurface(output_);
}

void QtPlatform::waitUntilSettled() {
  // A window manager maximizes a new window a moment after it is shown; the drawing area is
  // measured once its size is final. A frame that fills the screen's free area is final at
  // once; anything else must stay put for 80 ms. A compositor that has not maximized the window
  // after a second and a half never will: the window then takes the free area itself. Every
  // event is looked at as it comes, and the ticks only wake the wait when none comes, so
  // start-up loses no time to polling.
  QElapsedTimer clock;
  clock.start();
  QElapsedTimer steady;
  steady.start();
  QSize last;
  QTimer tick;
  tick.start(5);
  bool grown = false;
  while (clock.elapsed() < 4000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const bool exposed = main_->windowHandle() && main_->windowHandle()->isExposed();
    if (exposed && !main_->isMaximized() && !grown && clock.elapsed() >= 1500) {
      fillFreeArea();
      grown = true;
      steady.restart();
    }
    const bool shown = exposed && (main_->isMaximized() || grown);
    const QSize now = root_->size();
    if (!shown || now != last) steady.restart();
    last = now;
    if (!shown) continue;
    const QScreen* screen = main_->screen();
    // The central widget follows the window's new size only once the layout has run.
    const bool fillsScreen = screen &&
                             main_->frameGeometry().size() == screen->availableGeometry().size() &&
                             now.width() == main_->width();
    if (fillsScreen || steady.elapsed() >= 80) return;
  }
}

void QtPlatform::fillFreeArea() {
  const QScreen* screen = main_->screen();
  if (!screen) return;
  const QRect frame = main_->frameGeometry();
  const QRect client = main_->geometry();
  const QMargins decoration(client.left() - frame.left(), client.top() - frame.top(),
                            frame.right() - client.right(), frame.bottom() - client.bottom());
  main_->setGeometry(screen->availableGeometry().marginsRemoved(decoration));
}

void QtPlatform::open_main_window() {
  destroyWindows();
  main_ = new MainWindow([this] {
    closeRequested_ = true;
    mainOpen_ = false;
  });
  main_->setWindowTitle(QString::fromStdString(programName_));
  QMenuBar* bar = main_->menuBar();
  bar->setNativeMenuBar(false);
  {
    // The bar gets its filled height now, so filling it later does not shrink the drawing area.
    QMenuBar probe;
    probe.addMenu(QStringLiteral("DESK |"));
    bar->setFixedHeight(probe.sizeHint().height());
  }
  root_ = new Surface(QSize(1, 1), nullptr, nullptr, &mouse_);
  root_->attributes.lineWidth = minLineWidth();
  main_->setCentralWidget(root_);
  // Restored, the window takes most of the screen's free area, centred: never the tiny size
  // Qt falls back to for a window that was shown maximized at once.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect free = screen->availableGeometry();
    QRect normal(QPoint(0, 0), free.size() * 0.9);
    normal.moveCenter(free.center());
    main_->setGeometry(normal);
  }
  main_->showMaximized();
  waitUntilSettled();
  display_ = root_->size().expandedTo(QSize(1, 1));
  root_->resetImage(display_);
  mainOpen_ = true;
  closeRequested_ = false;
  main_->keys.clear();
  mouse_ = MouseState{};
  output_ = 0;
  ++openCount_[0];
  main_->setFocus();
}

void QtPlatform::open_window(int number, const WindowGeometry& geometry) {
  if (number == 0) {
    output_ = 0;
    return;
  }
  close_window(number);
  output_ = number;
  ++openCount_[number];
  if (!root_) return;
  const int limit = static_cast<int>(GuardLimit);
  const QRect place(std::clamp(geometry.x, -limit, limit), std::clamp(geometry.y, -limit, limit),
                    std::clamp(geometry.width, 1, limit), std::clamp(geometry.height, 1, limit));
  auto* frame = new Surface(place.size(), root_, root_, &mouse_);
  frame->attributes.lineWidth = minLineWidth();
  frame->setPlaceOnRoot(place);
  frame->show();
  frame->raise();
  frames_[number] = frame;
}

void QtPlatform::close_window(int number) {
  if (number == 0) {
    if (!main_) return;
    mainOpen_ = false;
    ++openCount_[0];
    main_->hide();
    return;
  }
  const auto found = frames_.find(number);
  if (found == frames_.end()) return;
  delete found->second.data();
  frames_.erase(found);
  ++openCount_[number];
  if (output_ == number) output_ = 0;
}

void QtPlatform::activate_window(int number) {
  if (number == 0 && main_) {
    main_->raise();
    main_->activateWindow();
  } else if (Surface* frame = windowSurface(number)) {
    frame->raise();
  }
}

void QtPlatform::set_caption(int number, const std::string& caption) {
  if (number != 0) return;  // the frames have no caption bar
  caption_ = caption;
  if (main_) main_->setWindowTitle(QString::fromStdString(caption));
}

bool QtPlatform::set_window_background(int number, Colour colour) {
  Surface* surface = windowSurface(number);
  if (!surface) return false;
  if (highContrast_) colour = highContrastGround(colour);
  surface->setBackground(QColor(std::clamp(colour.red, 0, 255), std::clamp(colour.green, 0, 255),
                                std::clamp(colour.blue, 0, 255)));
  return true;
}

void QtPlatform::set_output_window(int number) {
  output_ = number;
}

void QtPlatform::clear_window() {
  if (Surface* surface = output()) surface->clear();
}

bool QtPlatform::main_window_exists() {
  return main_ && mainOpen_;
}

bool QtPlatform::close_requested() {
  return closeRequested_;
}

void QtPlatform::process_events() {
  QCoreApplication::processEvents();
}

void QtPlatform::wait_for_event() {
  const unsigned long before = news_;
  while (main_window_exists() && news_ == before) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void QtPlatform::yield_once() {
  QCoreApplication::processEvents();
}

void QtPlatform::end_of_run() {
  QCoreApplication::processEvents();
}

void QtPlatform::fail(const std::string& what) {
  showBox(runTimeErrorText(what), BoxKind::Critical, true);
  destroyWindows();
  ownedApp_.reset();
  std::exit(1);
}

int QtPlatform::display_width() {
  if (display_.isValid()) return display_.width();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().width() : 640;
}

int QtPlatform::display_height() {
  if (display_.isValid()) return display_.height();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().height() : 480;
}

}  // namespace lab
