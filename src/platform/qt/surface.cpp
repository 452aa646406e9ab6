// Drawing into a window's backing image and showing it.
#include "platform/qt/surface.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/line_input.h"
#include "platform/qt/qt_image.h"
#include "platform/qt/safe_coordinates.h"

namespace lab {

namespace {

// 72 dots per inch make one point of a font one pixel of the image.
constexpr int DotsPerMeterAt72Dpi = 2835;
// Around a drawing shown smaller than its window: the grey of the browser page.
const QColor MarginColour(0xd4, 0xd0, 0xc8);
// The largest scale a drawing is painted at: beyond it a pixel of the drawing is plenty.
constexpr double MostDevicePixels = 8.0;

int buttonBits(Qt::MouseButtons buttons) {
  return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) | (buttons.testFlag(Qt::RightButton) ? 2 : 0);
}

QImage newImage(QSize size, const QColor& colour) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.setDotsPerMeterX(DotsPerMeterAt72Dpi);
  image.setDotsPerMeterY(DotsPerMeterAt72Dpi);
  image.fill(colour);
  return image;
}

}  // namespace

Surface::Surface(QSize size, QWidget* parent, Surface* root, MouseState* mouse)
    : QWidget(parent), root_(root), mouse_(mouse) {
  resetImage(size);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

double Surface::shownScale() const {
  if (root_) return root_->shownScale();
  // Until it is shown, and while hidden, a surface keeps the scale it has: one pixel a pixel.
  if (!isVisible() || width() <= 0 || height() <= 0) {
    return k_ > 0.0 ? k_ / devicePixelRatioF() : 1.0;
  }
  return std::min(static_cast<double>(width()) / drawingSize_.width(),
                  static_cast<double>(height()) / drawingSize_.height());
}

double Surface::wantedScale() const {
  return std::clamp(shownScale() * devicePixelRatioF(), 1.0 / 64, MostDevicePixels);
}

void Surface::paintRecord(double k) {
  k_ = k;
  image_ = newImage(deviceRect(QRect(QPoint(0, 0), drawingSize_), k).size(), attributes.background);
  QPainter painter(&image_);
  record_.paint(painter, k);
}

void Surface::resetImage(QSize size) {
  drawingSize_ = size.expandedTo(QSize(1, 1));
  record_.clear();
  setBackground(attributes.background);
}

void Surface::refit() {
  const double k = wantedScale();
  if (k != k_) paintRecord(k);
  if (!root_) {
    // Centred, with its corner on a device pixel.
    const double ratio = devicePixelRatioF();
    origin_ = QPoint(std::max(0, static_cast<int>((width() * ratio - image_.width()) / 2)),
                     std::max(0, static_cast<int>((height() * ratio - image_.height()) / 2)));
    for (QObject* child : children()) {
      if (auto* frame = dynamic_cast<Surface*>(child)) frame->setPlaceOnRoot(frame->placeOnRoot());
    }
  }
  for (LineInput* field : findChildren<LineInput*>(Qt::FindDirectChildrenOnly)) field->fit();
  update();
}

void Surface::setPlaceOnRoot(const QRect& place) {
  placeOnRoot_ = place;
  if (!root_) return;
  setGeometry(root_->toWidget(QRectF(place)));
  refit();
}

QPointF Surface::toDrawing(const QPointF& widgetPoint) const {
  const double ratio = devicePixelRatioF();
  return {(widgetPoint.x() * ratio - origin_.x()) / k_,
          (widgetPoint.y() * ratio - origin_.y()) / k_};
}

QRect Surface::toWidget(const QRectF& r) const {
  const double ratio = devicePixelRatioF();
  return QRectF((origin_.x() + r.x() * k_) / ratio, (origin_.y() + r.y() * k_) / ratio,
                r.width() * k_ / ratio, r.height() * k_ / ratio)
      .toAlignedRect();
}

DrawOp Surface::newOp(DrawOp::Kind kind) const {
  DrawOp op;
  op.kind = kind;
  op.fore = attributes.fore;
  op.back = attributes.back;
  op.lineWidth = attributes.lineWidth;
  op.clip = attributes.clip;
  return op;
}

void Surface::draw(DrawOp op) {
  if (op.clip) op.box = op.box.intersected(*op.clip);
  if (op.cover && op.clip) op.cover = op.cover->intersected(*op.clip);
  auto held = std::make_shared<const DrawOp>(std::move(op));
  {
    QPainter painter(&image_);
    paintOp(painter, *held, k_);
  }
  changed(held->box);
  record_.add(std::move(held));
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
  DrawOp op = newOp(DrawOp::Kind::Line);
  op.line = *line;
  const int margin = attributes.lineWidth + 1;
  op.box = QRect(line->p1(), line->p2()).normalized().adjusted(-margin, -margin, margin, margin);
  draw(std::move(op));
}

void Surface::drawBox(double x1, double y1, double x2, double y2) {
  const auto rect = safeRect(x1, y1, x2, y2);
  if (!rect) return;
  DrawOp op = newOp(DrawOp::Kind::Box);
  op.rect = *rect;
  const int margin = attributes.lineWidth + 1;
  op.box = rect->adjusted(-margin, -margin, margin, margin);
  draw(std::move(op));
}

void Surface::fillBox(double x1, double y1, double x2, double y2) {
  const auto rect = safeRect(x1, y1, x2, y2);
  if (!rect) return;
  DrawOp op = newOp(DrawOp::Kind::Fill);
  op.rect = *rect;
  op.box = *rect;
  op.cover = *rect;
  draw(std::move(op));
}

void Surface::drawCircle(double cx, double cy, double radius) {
  const auto centre = safePoint(cx, cy);
  const auto r = safeLength(radius);
  if (!centre || !r) return;
  DrawOp op = newOp(DrawOp::Kind::Circle);
  op.point = *centre;
  op.radius = *r;
  const int margin = *r + attributes.lineWidth + 1;
  op.box = QRect(*centre, *centre).adjusted(-margin, -margin, margin, margin);
  draw(std::move(op));
}

ScaledFont Surface::drawingFont() const {
  return lab::drawingFont(attributes.fontName, attributes.fontSize);
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
  const QRectF box(topLeft, QSizeF(width, QFontMetricsF(f.font, &image_).height() * f.factor));
  DrawOp op = newOp(DrawOp::Kind::Text);
  op.at = topLeft;
  op.text = text;
  op.fontName = attributes.fontName;
  op.fontSize = attributes.fontSize;
  op.width = width;
  op.transparent = attributes.transparent;
  op.box = box.toAlignedRect().adjusted(-2, -2, 2, 2);
  // Glyphs may reach a little beyond their box; the background hides only whole pixels inside.
  if (!op.transparent) {
    op.cover = QRect(QPoint(static_cast<int>(std::ceil(box.left())) + 1,
                            static_cast<int>(std::ceil(box.top())) + 1),
                     QPoint(static_cast<int>(std::floor(box.right())) - 2,
                            static_cast<int>(std::floor(box.bottom())) - 2));
  }
  draw(std::move(op));
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
  const QRect whole(QPoint(0, 0), drawingSize_);
  // Cleared wholly, nothing drawn before shows any more.
  if (!attributes.clip) record_.clear();
  DrawOp op = newOp(DrawOp::Kind::Fill);
  op.fore = attributes.background;
  op.rect = whole;
  op.box = whole;
  op.cover = whole;
  draw(std::move(op));
}

void Surface::setBackground(const QColor& colour) {
  attributes.background = colour;
  record_.clear();
  const QRect whole(QPoint(0, 0), drawingSize_);
  DrawOp op;
  op.fore = colour;
  op.rect = whole;
  op.box = whole;
  op.cover = whole;
  record_.add(std::make_shared<const DrawOp>(std::move(op)));
  k_ = 0.0;  // a fresh image at the present scale
  refit();
}

QImage Surface::capture(const QRect& rect, CapturedBand& band) const {
  band.source = rect;
  band.k = k_;
  band.opaque = QRect(QPoint(0, 0), drawingSize_).contains(rect);
  band.ops = record_.touching(rect);
  // Parts outside the window stay transparent, so putting the capture back paints only pixels.
  const QRect device = deviceRect(rect, k_);
  QImage captured(device.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  captured.fill(Qt::transparent);
  QPainter painter(&captured);
  painter.drawImage(QPoint(0, 0), image_, device);
  painter.end();
  return captured;
}

void Surface::putImage(std::shared_ptr<const QtImage> held, const QPoint& topLeft) {
  DrawOp op = newOp(DrawOp::Kind::Image);
  op.point = topLeft;
  const CapturedBand* band = held->band.get();
  const QSize size = band ? band->source.size() : held->pixels().size();
  op.box = QRect(topLeft, size);
  // Put back where it was taken, an opaque band hides exactly what it hid then.
  if (band && band->opaque && band->source.topLeft() == topLeft) op.cover = op.box;
  op.held = std::move(held);
  draw(std::move(op));
}

void Surface::putStretched(const QImage& picture, const QRect& target) {
  if (target.isEmpty()) return;
  DrawOp op = newOp(DrawOp::Kind::Picture);
  op.picture = picture;
  op.rect = target;
  op.box = target;
  draw(std::move(op));
}

void Surface::paintEvent(QPaintEvent* event) {
  // Another pixel ratio (the window moved to another screen) shows itself here first.
  if (wantedScale() != k_) refit();
  QPainter painter(this);
  const double ratio = devicePixelRatioF();
  const QRectF shown(QPointF(origin_) / ratio, QSizeF(image_.size()) / ratio);
  const QRegion margin = event->region().subtracted(QRegion(shown.toAlignedRect()));
  for (const QRect& part : margin) painter.fillRect(part, MarginColour);
  const QRectF area = QRectF(event->rect()).intersected(shown);
  if (area.isEmpty()) return;
  painter.drawImage(area, image_,
                    QRectF((area.topLeft() - shown.topLeft()) * ratio, area.size() * ratio));
}

void Surface::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!root_) refit();
}

bool Surface::event(QEvent* event) {
  // A move to a screen of another scale.
  if (event->type() == QEvent::ScreenChangeInternal && !root_) refit();
  return QWidget::event(event);
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
