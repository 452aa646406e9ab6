// Drawing into a window's backing image and showing it.
#include "platform/qt/surface.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/fonts.h"
#include "platform/qt/safe_coordinates.h"

namespace lab {

namespace {

// 72 dots per inch make one point of a font one pixel of the image.
constexpr int DotsPerMeterAt72Dpi = 2835;
constexpr double ImageDpi = 72.0;

int buttonBits(Qt::MouseButtons buttons) {
  return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) | (buttons.testFlag(Qt::RightButton) ? 2 : 0);
}

}  // namespace

Surface::Surface(QSize size, QWidget* parent, Surface* root, MouseState* mouse)
    : QWidget(parent), root_(root), mouse_(mouse) {
  resetImage(size);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void Surface::resetImage(QSize size) {
  // On a scaled screen the image holds device pixels, so lines and text stay crisp; drawing
  // still happens in drawing pixels.
  const double ratio = std::max(1.0, devicePixelRatioF());
  drawingSize_ = size.expandedTo(QSize(1, 1));
  image_ = QImage((QSizeF(drawingSize_) * ratio).toSize(), QImage::Format_RGB32);
  image_.setDevicePixelRatio(ratio);
  image_.setDotsPerMeterX(DotsPerMeterAt72Dpi);
  image_.setDotsPerMeterY(DotsPerMeterAt72Dpi);
  image_.fill(attributes.background);
  update();
}

void Surface::setPlaceOnRoot(const QRect& place) {
  placeOnRoot_ = place;
  if (root_) setGeometry(root_->toWidget(QRectF(place)));
}

double Surface::scaleX() const {
  return static_cast<double>(width()) / drawingSize_.width();
}
double Surface::scaleY() const {
  return static_cast<double>(height()) / drawingSize_.height();
}

QPointF Surface::toDrawing(const QPointF& widgetPoint) const {
  const double sx = scaleX();
  const double sy = scaleY();
  return {sx > 0 ? widgetPoint.x() / sx : 0.0, sy > 0 ? widgetPoint.y() / sy : 0.0};
}

QRect Surface::toWidget(const QRectF& drawingRect) const {
  const double sx = scaleX();
  const double sy = scaleY();
  return QRectF(drawingRect.x() * sx, drawingRect.y() * sy, drawingRect.width() * sx,
                drawingRect.height() * sy)
      .toAlignedRect();
}

void Surface::beginPainting(QPainter& painter) const {
  painter.begin(const_cast<QImage*>(&image_));
  if (attributes.clip) painter.setClipRect(*attributes.clip);
}

void Surface::changed(const QRect& drawingRect) {
  const QRect touched = drawingRect.intersected(QRect(QPoint(0, 0), drawingSize_));
  if (touched.isEmpty()) return;
  // Only the touched part is repainted: a time step draws two short lines.
  update(toWidget(QRectF(touched)).adjusted(-1, -1, 1, 1));
}

void Surface::drawLine(double x1, double y1, double x2, double y2) {
  const auto line = safeSegment(x1, y1, x2, y2);
  if (!line) return;
  QPainter painter;
  beginPainting(painter);
  // Square caps put the end pixels where asked, also for a line of a single point.
  painter.setPen(
      QPen(attributes.fore, attributes.lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.drawLine(*line);
  painter.end();
  const int margin = attributes.lineWidth + 1;
  changed(QRect(line->p1(), line->p2()).normalized().adjusted(-margin, -margin, margin, margin));
}

void Surface::drawBox(double x1, double y1, double x2, double y2) {
  const auto rect = safeRect(x1, y1, x2, y2);
  if (!rect) return;
  QPainter painter;
  beginPainting(painter);
  painter.setPen(
      QPen(attributes.fore, attributes.lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  // A stroked rectangle is one pen width larger than its size: this outlines both corners.
  painter.drawRect(rect->x(), rect->y(), rect->width() - 1, rect->height() - 1);
  painter.end();
  const int margin = attributes.lineWidth + 1;
  changed(rect->adjusted(-margin, -margin, margin, margin));
}

void Surface::fillBox(double x1, double y1, double x2, double y2) {
  const auto rect = safeRect(x1, y1, x2, y2);
  if (!rect) return;
  QPainter painter;
  beginPainting(painter);
  painter.fillRect(*rect, attributes.fore);
  painter.end();
  changed(*rect);
}

void Surface::drawCircle(double cx, double cy, double radius) {
  const auto centre = safePoint(cx, cy);
  const auto r = safeLength(radius);
  if (!centre || !r) return;
  QPainter painter;
  beginPainting(painter);
  painter.setPen(QPen(attributes.fore, attributes.lineWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(*centre, *r, *r);
  painter.end();
  const int margin = *r + attributes.lineWidth + 1;
  changed(QRect(*centre, *centre).adjusted(-margin, -margin, margin, margin));
}

Surface::ScaledFont Surface::drawingFont() const {
  const double size =
      std::isfinite(attributes.fontSize) ? std::clamp(attributes.fontSize, 0.1, 4000.0) : 12.0;
  const double whole = std::ceil(size);
  return {makeFont(attributes.fontName, whole, ImageDpi), size / whole};
}

double Surface::textWidth(const QString& text) const {
  const ScaledFont f = drawingFont();
  return QFontMetricsF(f.font, &image_).horizontalAdvance(text) * f.factor;
}

double Surface::lineHeight() const {
  const ScaledFont f = drawingFont();
  return QFontMetricsF(f.font, &image_).lineSpacing() * f.factor;
}

void Surface::drawTextAt(const QPointF& topLeft, const QString& text, double width) {
  const ScaledFont f = drawingFont();
  const QFontMetricsF metrics(f.font, &image_);
  const QRectF box(topLeft, QSizeF(width, metrics.height() * f.factor));
  QPainter painter;
  beginPainting(painter);
  if (!attributes.transparent) painter.fillRect(box, attributes.back);
  painter.translate(topLeft);
  painter.scale(f.factor, f.factor);
  painter.setFont(f.font);
  painter.setPen(attributes.fore);
  painter.drawText(QPointF(0.0, metrics.ascent()), text);
  painter.end();
  changed(box.toAlignedRect().adjusted(-2, -2, 2, 2));
}

void Surface::drawText(double x, double y, const QString& text) {
  const auto at = safePoint(x, y);
  if (!at) return;
  drawTextAt(QPointF(*at), text, textWidth(text));
}

void Surface::printText(const QString& text, bool lineEnd) {
  const double width = textWidth(text);
  if (!text.isEmpty()) drawTextAt(attributes.textPosition, text, width);
  attributes.textPosition.rx() += width;
  if (lineEnd) {
    attributes.textPosition.setX(0.0);
    attributes.textPosition.ry() += lineHeight();
  }
  // Keep the cursor in the guard range however many lines are printed.
  attributes.textPosition.setX(std::clamp(attributes.textPosition.x(), -GuardLimit, GuardLimit));
  attributes.textPosition.setY(std::clamp(attributes.textPosition.y(), -GuardLimit, GuardLimit));
}

void Surface::clear() {
  QPainter painter;
  beginPainting(painter);
  painter.fillRect(QRectF(QPointF(0, 0), image_.deviceIndependentSize()), attributes.background);
  painter.end();
  changed(attributes.clip ? *attributes.clip : QRect(QPoint(0, 0), drawingSize_));
}

void Surface::setBackground(const QColor& colour) {
  attributes.background = colour;
  image_.fill(colour);
  update();
}

QImage Surface::capture(const QRect& rect) const {
  // Parts outside the window stay transparent, so putting the capture back paints only pixels.
  const double ratio = image_.devicePixelRatio();
  QImage captured((QSizeF(rect.size().expandedTo(QSize(1, 1))) * ratio).toSize(),
                  QImage::Format_ARGB32_Premultiplied);
  captured.setDevicePixelRatio(ratio);
  captured.fill(Qt::transparent);
  QPainter painter(&captured);
  painter.drawImage(QRectF(QPointF(0, 0), QSizeF(rect.size())), image_,
                    QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio));
  painter.end();
  return captured;
}

void Surface::putImage(const QImage& picture, const QPoint& topLeft) {
  QPainter painter;
  beginPainting(painter);
  painter.drawImage(topLeft, picture);
  painter.end();
  changed(QRect(topLeft, picture.deviceIndependentSize().toSize()));
}

void Surface::putStretched(const QImage& picture, const QRect& target) {
  if (target.isEmpty()) return;
  QPainter painter;
  beginPainting(painter);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, picture);
  painter.end();
  changed(target);
}

void Surface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (size() == drawingSize_) {
    const double ratio = image_.devicePixelRatio();
    const QRectF area(event->rect());
    painter.drawImage(area, image_, QRectF(area.topLeft() * ratio, area.size() * ratio));
  } else {
    painter.setClipRegion(event->region());
    painter.drawImage(rect(), image_);
  }
}

void Surface::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  for (QObject* child : children()) {
    if (auto* frame = dynamic_cast<Surface*>(child)) frame->setPlaceOnRoot(frame->placeOnRoot());
  }
}

void Surface::recordMouse(QMouseEvent* event) {
  Surface* root = root_ ? root_ : this;
  const QPointF local = event->position();
  const QPointF at = root->toDrawing(root == this ? local : mapTo(root, local));
  mouse_->position = QPoint(roundedPixel(at.x()), roundedPixel(at.y()));
  mouse_->buttons.hold(buttonBits(event->buttons()));
  event->accept();
}

void Surface::mouseMoveEvent(QMouseEvent* event) {
  recordMouse(event);
}

void Surface::mousePressEvent(QMouseEvent* event) {
  recordMouse(event);
  mouse_->buttons.press(buttonBits(event->button()));
}

void Surface::mouseReleaseEvent(QMouseEvent* event) {
  recordMouse(event);
}

}  // namespace lab
