// One segment per key into a retained image, and a repaint of just that segment.
#include "key_canvas.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

namespace lab::bench {

namespace {
constexpr int StepPixels = 6;
constexpr int Margin = 2;
const QColor Background(0, 0, 255);
}  // namespace

KeyCanvas::KeyCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

void KeyCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image_.fill(Background);
  last_ = QPoint(0, height() / 2);
}

void KeyCanvas::keyPressEvent(QKeyEvent* event) {
  event->accept();
  // A gentle curve that wraps at the right edge, like a sweep of the graph.
  QPoint next(last_.x() + StepPixels, height() / 2 + (last_.x() / StepPixels) % 40);
  if (next.x() >= width()) next = QPoint(0, height() / 2);
  QPainter painter(&image_);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawLine(last_, next);
  painter.end();
  update(QRect(last_, next).normalized().adjusted(-Margin, -Margin, Margin, Margin));
  last_ = next;
}

void KeyCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
}

}  // namespace lab::bench
