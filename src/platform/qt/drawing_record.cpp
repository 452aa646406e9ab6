// Painting recorded drawing calls at a scale, and keeping the record as small as the picture.
#include "platform/qt/drawing_record.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <QFontMetricsF>
#include <QPainter>

#include "platform/qt/fonts.h"
#include "platform/qt/qt_image.h"

namespace lab {

namespace {

bool inside(const QRect& inner, const QRect& outer) {
  return inner.left() >= outer.left() && inner.top() >= outer.top() &&
         inner.right() <= outer.right() && inner.bottom() <= outer.bottom();
}

// Where a line lies and how it looks, for finding an earlier copy of it.
std::uint64_t lineKey(const DrawOp& op) {
  std::uint64_t key = 1469598103934665603ull;
  const QRect clip = op.clip.value_or(QRect(-1, -1, 0, 0));
  for (const int part : {op.line.x1(), op.line.y1(), op.line.x2(), op.line.y2(), op.lineWidth,
                         static_cast<int>(op.fore.rgb()), clip.x(), clip.y(), clip.width(),
                         clip.height(), op.clip ? 1 : 0}) {
    key = (key ^ static_cast<std::uint32_t>(part)) * 1099511628211ull;
  }
  return key;
}

// An aliased line drawn again the same way sets the same pixels: the earlier one shows nothing,
// wherever it lies in the record (a sweep drawn over an equal one repeats every segment).
bool sameLine(const DrawOp& a, const DrawOp& b) {
  return a.kind == DrawOp::Kind::Line && b.kind == DrawOp::Kind::Line && a.line == b.line &&
         a.lineWidth == b.lineWidth && a.fore == b.fore && a.clip == b.clip;
}

// A readout written again and again into its field: an opaque text hides every text before it
// at the same place in the same face and background that is no wider.
bool readoutHides(const DrawOp& later, const DrawOp& earlier) {
  return later.kind == DrawOp::Kind::Text && earlier.kind == DrawOp::Kind::Text &&
         !later.transparent && !earlier.transparent && later.at == earlier.at &&
         later.fontName == earlier.fontName && later.fontSize == earlier.fontSize &&
         later.back == earlier.back && later.clip == earlier.clip && earlier.width <= later.width;
}

void setClip(QPainter& painter, const DrawOp& op, double k) {
  if (op.clip) painter.setClipRect(deviceRect(*op.clip, k), Qt::IntersectClip);
}

QPen linePen(const DrawOp& op, double k) {
  // Square caps put the end pixels where asked, also for a line of a single point.
  return QPen(op.fore, deviceLineWidth(op.lineWidth, k), Qt::SolidLine, Qt::SquareCap,
              Qt::MiterJoin);
}

QPoint centreOf(const QPoint& p, double k) {
  return {deviceCentre(p.x(), k), deviceCentre(p.y(), k)};
}

void paintImage(QPainter& painter, const DrawOp& op, double k) {
  const QtImage& held = *op.held;
  const CapturedBand* band = held.band.get();
  if (!band || band->k == k) {
    const QImage pixels = held.pixels();
    const QPoint corner(deviceEdge(op.point.x(), k), deviceEdge(op.point.y(), k));
    if (!band && k != 1.0) {
      painter.drawImage(deviceRect(QRect(op.point, pixels.size()), k), pixels);
    } else {
      painter.drawImage(corner, pixels);
    }
    return;
  }
  // At another scale the band's calls are painted again, cut to the band.
  painter.setClipRect(deviceRect(QRect(op.point, band->source.size()), k), Qt::IntersectClip);
  painter.translate(deviceEdge(op.point.x(), k) - deviceEdge(band->source.x(), k),
                    deviceEdge(op.point.y(), k) - deviceEdge(band->source.y(), k));
  for (const auto& inner : band->ops) paintOp(painter, *inner, k);
}

}  // namespace

int deviceEdge(double value, double k) {
  return static_cast<int>(std::lround(value * k));
}

int deviceCentre(double value, double k) {
  return static_cast<int>(std::floor((value + 0.5) * k));
}

QRect deviceRect(const QRect& r, double k) {
  const int left = deviceEdge(r.x(), k);
  const int top = deviceEdge(r.y(), k);
  return {left, top, deviceEdge(r.x() + r.width(), k) - left,
          deviceEdge(r.y() + r.height(), k) - top};
}

int deviceLineWidth(int width, double k) {
  return width == 1 ? 1 : std::max(1, static_cast<int>(std::lround(width * k)));
}

ScaledFont drawingFont(const std::string& name, double size) {
  const double asked = std::isfinite(size) ? std::clamp(size, 0.1, 4000.0) : 12.0;
  const double whole = std::ceil(asked);
  return {makeFont(name, whole, ImageDpi), asked / whole};
}

void paintOp(QPainter& painter, const DrawOp& op, double k) {
  painter.save();
  setClip(painter, op, k);
  switch (op.kind) {
    case DrawOp::Kind::Fill:
      painter.fillRect(deviceRect(op.rect, k), op.fore);
      break;
    case DrawOp::Kind::Line:
      painter.setPen(linePen(op, k));
      painter.drawLine(centreOf(op.line.p1(), k), centreOf(op.line.p2(), k));
      break;
    case DrawOp::Kind::Box: {
      painter.setPen(linePen(op, k));
      painter.setBrush(Qt::NoBrush);
      // A stroked rectangle is one pen width larger than its size: this outlines both corners.
      const QPoint first = centreOf(op.rect.topLeft(), k);
      const QPoint last = centreOf(op.rect.bottomRight(), k);
      painter.drawRect(first.x(), first.y(), last.x() - first.x(), last.y() - first.y());
      break;
    }
    case DrawOp::Kind::Circle: {
      painter.setPen(QPen(op.fore, deviceLineWidth(op.lineWidth, k)));
      painter.setBrush(Qt::NoBrush);
      const int r = static_cast<int>(std::lround(op.radius * k));
      painter.drawEllipse(centreOf(op.point, k), r, r);
      break;
    }
    case DrawOp::Kind::Text: {
      const ScaledFont f = drawingFont(op.fontName, op.fontSize);
      const QFontMetricsF metrics(f.font, painter.device());
      if (!op.transparent) {
        painter.fillRect(QRectF(op.at * k, QSizeF(op.width, metrics.height() * f.factor) * k),
                         op.back);
      }
      // The glyphs are drawn at the device's resolution, not magnified.
      painter.translate(op.at * k);
      painter.scale(f.factor * k, f.factor * k);
      painter.setFont(f.font);
      painter.setPen(op.fore);
      painter.drawText(QPointF(0.0, metrics.ascent()), op.text);
      break;
    }
    case DrawOp::Kind::Image:
      paintImage(painter, op, k);
      break;
    case DrawOp::Kind::Picture:
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(deviceRect(op.rect, k), op.picture);
      break;
  }
  painter.restore();
}

void DrawingRecord::clear() {
  ops_.clear();
  lines_.clear();
  dead_ = 0;
}

void DrawingRecord::drop(std::size_t index) {
  if (ops_[index]->kind == DrawOp::Kind::Line) {
    const auto found = lines_.find(lineKey(*ops_[index]));
    if (found != lines_.end() && found->second == index) lines_.erase(found);
  }
  ops_[index].reset();
  ++dead_;
}

void DrawingRecord::add(std::shared_ptr<const DrawOp> op) {
  const bool line = op->kind == DrawOp::Kind::Line;
  if (line) {
    const auto found = lines_.find(lineKey(*op));
    if (found != lines_.end() && ops_[found->second] && sameLine(*op, *ops_[found->second])) {
      drop(found->second);
    }
  }
  // Only a covering call or an opaque text hides others: a step's lines skip the search.
  const bool hides = op->cover || (op->kind == DrawOp::Kind::Text && !op->transparent);
  for (std::size_t i = 0; hides && i < ops_.size(); ++i) {
    if (!ops_[i]) continue;
    if ((op->cover && inside(ops_[i]->box, *op->cover)) || readoutHides(*op, *ops_[i])) drop(i);
  }
  if (line) lines_[lineKey(*op)] = ops_.size();
  ops_.push_back(std::move(op));
  if (dead_ > 256 && 2 * dead_ > ops_.size()) {
    std::erase(ops_, nullptr);
    dead_ = 0;
    lines_.clear();
    for (std::size_t i = 0; i < ops_.size(); ++i) {
      if (ops_[i]->kind == DrawOp::Kind::Line) lines_[lineKey(*ops_[i])] = i;
    }
  }
}

OpList DrawingRecord::touching(const QRect& rect) const {
  OpList found;
  for (const auto& op : ops_) {
    if (op && op->box.intersects(rect)) found.push_back(op);
  }
  return found;
}

void DrawingRecord::paint(QPainter& painter, double k) const {
  for (const auto& op : ops_) {
    if (op) paintOp(painter, *op, k);
  }
}

}  // namespace lab
