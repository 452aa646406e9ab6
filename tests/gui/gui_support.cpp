// Helpers of the GUI tests.
#include "gui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace lab::gui {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  QTimer wakeUp;  // keeps the wait from blocking when nothing else happens
  wakeUp.start(5);
  while (!condition()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

Driver::Driver(std::function<bool()> step, int intervalMs) : step_(std::move(step)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (done_) return;
    timer_.stop();  // a step may run a nested wait of its own
    done_ = step_();
    if (!done_) timer_.start();
  });
  timer_.start(intervalMs);
}

BoxAnswerer::BoxAnswerer(QtPlatform& platform, std::function<void(QMessageBox&)> onShow)
    : platform_(platform), onShow_(std::move(onShow)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    QMessageBox* box = platform_.currentMessageBox();
    if (!box || !box->isVisible()) return;
    texts.push_back(box->text().toStdString());
    icons.push_back(box->icon());
    QStringList labels;
    for (QAbstractButton* button : box->buttons()) labels << button->text();
    buttons.push_back(labels);
    if (onShow_) onShow_(*box);
    if (box->isVisible() && box->defaultButton()) box->defaultButton()->click();
  });
  timer_.start(10);
}

void PlatformTest::SetUp() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  platform = std::make_unique<QtPlatform>(argc, argv, "coillab");
  platform->open_main_window();
  width = platform->display_width();
  height = platform->display_height();
}

void PlatformTest::TearDown() {
  platform.reset();
}

QColor PlatformTest::pixel(int x, int y, int window) const {
  const QImage* image = platform->windowImage(window);
  if (!image || !image->rect().contains(x, y)) return QColor();
  return image->pixelColor(x, y);
}

void PlatformTest::pressKey(int key, const QString& text, bool autoRepeat) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text, autoRepeat);
  QApplication::sendEvent(platform->mainWindow(), &event);
}

void PlatformTest::mouseEvent(QEvent::Type type, QPoint at, Qt::MouseButton button,
                              Qt::MouseButtons buttons, int window) {
  QWidget* target = platform->windowSurface(window);
  const QPointF global = target->mapToGlobal(QPointF(at));
  QMouseEvent event(type, QPointF(at), global, button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

}  // namespace lab::gui
