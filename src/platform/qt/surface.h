// A numbered window's drawing surface: a widget showing its retained backing image (scaled once
// the main window was resized) and holding that window's drawing attributes and text cursor.
#pragma once

#include <optional>
#include <string>

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>

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
  const QImage& image() const { return image_; }
  // A fresh image of the given size in the background colour.
  void resetImage(QSize size);
  const QRect& placeOnRoot() const { return placeOnRoot_; }
  void setPlaceOnRoot(const QRect& place);
  // Widget pixels per drawing pixel, and the mapping between the two.
  double scaleX() const;
  double scaleY() const;
  QPointF toDrawing(const QPointF& widgetPoint) const;
  QRect toWidget(const QRectF& drawingRect) const;

  void drawLine(double x1, double y1, double x2, double y2);
  void drawBox(double x1, double y1, double x2, double y2);
  void fillBox(double x1, double y1, double x2, double y2);
  void drawCircle(double cx, double cy, double radius);
  void drawText(double x, double y, const QString& text);
  void printText(const QString& text, bool lineEnd);
  void clear();
  void setBackground(const QColor& colour);
  QImage capture(const QRect& rect) const;
  void putImage(const QImage& picture, const QPoint& topLeft);
  void putStretched(const QImage& picture, const QRect& target);

  // The window's font at a whole pixel size, and the factor that scales it to the size asked
  // for: Qt's font engine rounds fractional sizes.
  struct ScaledFont {
    QFont font;
    double factor;
  };
  ScaledFont drawingFont() const;
  double textWidth(const QString& text) const;
  double lineHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // A painter on the backing image, clipped to the window's clip rectangle.
  void beginPainting(QPainter& painter) const;
  void changed(const QRect& drawingRect);
  void drawTextAt(const QPointF& topLeft, const QString& text, double width);
  void recordMouse(QMouseEvent* event);

  QImage image_;
  QSize drawingSize_;  // the image's size in drawing pixels
  Surface* root_;
  MouseState* mouse_;
  QRect placeOnRoot_;
};

}  // namespace lab
