// The edit field of a line input: ends on Return, opens the menu bar on F10 and keeps every
// other key it is given, Tab included, to itself.
#pragma once

#include <QLineEdit>
#include <QRectF>
#include <string>

namespace lab {

class Surface;

class LineInput : public QLineEdit {
 public:
  // A field on a surface, in that surface's drawing coordinates and face.
  LineInput(Surface* surface, const QRectF& place, std::string fontName, double fontSize);
  bool entered() const { return entered_; }
  // Lays the field over its place at the surface's present scale: at the start, and again
  // whenever a resize or another pixel ratio scales the drawing.
  void fit();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Tab and Shift+Tab cycle within the dialog, whose only field this is: the focus stays here.
  bool focusNextPrevChild(bool) override { return true; }

 private:
  Surface* surface_;
  QRectF place_;
  std::string fontName_;
  double fontSize_;
  bool entered_ = false;
};

}  // namespace lab
