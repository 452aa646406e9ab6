// The baseline of the start-up, memory and latency figures: a maximized main window with a
// menu bar whose drawing area paints one blue frame. With --draw-on-key the drawing area is a
// retained image that gets one segment per key press.
#include <cstring>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QWidget>

#include "key_canvas.h"

namespace {

// Paints its whole area blue: the same colour the start-up watcher looks for in the programs.
class BlueFrame : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 0, 255)); }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool drawOnKey = argc > 1 && std::strcmp(argv[1], "--draw-on-key") == 0;
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("qt_baseline"));
  for (const char* title : {"DESK |", "BAUTEILE |", "AUSGABE |", "Umschalten - <0> oder <1> ! |"}) {
    window.menuBar()->addMenu(QString::fromUtf8(title));
  }
  QWidget* area = nullptr;
  if (drawOnKey) {
    area = new lab::bench::KeyCanvas;
  } else {
    area = new BlueFrame;
  }
  window.setCentralWidget(area);
  window.showMaximized();
  area->setFocus();
  return app.exec();
}
