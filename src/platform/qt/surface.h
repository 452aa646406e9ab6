// A numbered window's drawing surface: a widget showing its retained drawing whole, in its own
// proportions and centred at any size, painted at the device's resolution, and holding that
// window's drawing attributes and text cursor.
#pragma once

#include <optional>
#include <string>

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include "platform/qt/drawing_record.h"

#include "platform/press_latch.h"

namespace lab {

// The mouse as the windows saw it, in drawing coordinates of the main window.
struct MouseState {
  QPoint position;
  PressLatch buttons;
};

struct DrawingAttributes {
  QColor fore = Qt::black;
  QColor back = Qt::white;
  QColor background = Qt::white;  // what clearing fills the window with
  int lineWidth = 1;
  std::string fontName;
  double fontSize = 12.0;
  bool transparent = false;
  std::optional<QRect> clip;
  QPointF textPosition;
};

class Surface : public QWidget {
 public:
  // The main surface has no root; a frame lies on the root at a rectangle of its drawing
  // coordinates.
  Surface(QSize size, QWidget* parent, Surface* root, MouseState* mouse);

  DrawingAttributes attributes;
  // The drawing in device pixels at the shown scale: at the start-up size one pixel a pixel.
  const QImage& image() const { return image_; }
  // Device pixels per drawing pixel in image().
  double deviceScale() const { return k_; }
  const DrawingRecord& record() const { return record_; }
  // A fresh drawing of the given size in the background colour.
  void resetImage(QSize size);
  const QRect& placeOnRoot() const { return placeOnRoot_; }
  void setPlaceOnRoot(const QRect& place);
  // Widget pixels per drawing pixel, and the mapping between the two.
  double shownScale() const;
  QPointF toDrawing(const QPointF& widgetPoint) const;
  QRect toWidget(const QRectF& drawingRect) const;
  // Shows the drawing at the widget's present size and pixel ratio, painted again from its
  // record when the scale changed.
  void refit();

  void drawLine(double x1, double y1, double x2, double y2);
  void drawBox(double x1, double y1, double x2, double y2);
  void fillBox(double x1, double y1, double x2, double y2);
  void drawCircle(double cx, double cy, double radius);
  void drawText(double x, double y, const QString& text);
  void printText(const QString& text, bool lineEnd);
  void clear();
  void setBackground(const QColor& colour);
  // The pixels of a rectangle, with the calls that painted it.
  QImage capture(const QRect& rect, CapturedBand& band) const;
  void putImage(std::shared_ptr<const QtImage> held, const QPoint& topLeft);
  void putStretched(const QImage& picture, const QRect& target);

  ScaledFont drawingFont() const;
  double textWidth(const QString& text) const;
  double lineHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // A call of the output attributes' colour, width and clip, to be filled in and drawn.
  DrawOp newOp(DrawOp::Kind kind) const;
  // Records a call and paints it on the image.
  void draw(DrawOp op);
  void changed(const QRect& drawingRect);
  void drawTextAt(const QPointF& topLeft, const QString& text, double width);
  void recordMouse(QMouseEvent* event);
  double wantedScale() const;
  void paintRecord(double k);

  QImage image_;
  QSize drawingSize_;  // the drawing's size in drawing pixels
  double k_ = 1.0;
  QPoint origin_;  // where the image lies on the widget, in device pixels
  DrawingRecord record_;
  Surface* root_;
  MouseState* mouse_;
  QRect placeOnRoot_;
};

}  // namespace lab
