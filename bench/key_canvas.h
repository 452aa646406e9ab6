// The baseline's drawing area: a retained image that gets one short segment per key press and
// repaints only that segment, as little as a program can do for a key.
#pragma once

#include <QImage>
#include <QWidget>

namespace lab::bench {

class KeyCanvas : public QWidget {
 public:
  explicit KeyCanvas(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage image_;
  QPoint last_;
};

}  // namespace lab::bench
