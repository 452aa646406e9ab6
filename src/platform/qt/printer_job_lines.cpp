// Placing the lines of a print job on its pages.
#include "platform/qt/printer_job_lines.h"

#include <QFontMetricsF>
#include <QPainter>

namespace lab {

PrintedLines::PrintedLines(QPainter& painter, std::function<bool()> newPage)
    : painter_(painter), newPage_(std::move(newPage)) {}

bool PrintedLines::write(const QString& text, const QFont& font, bool lineEnd) {
  const QFontMetricsF metrics(font, painter_.device());
  if (pageEnded_ || y_ + metrics.height() > painter_.device()->height()) {
    if (!newPage_()) return false;
    pageEnded_ = false;
    x_ = 0.0;
    y_ = 0.0;
  }
  if (!text.isEmpty()) {
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(x_, y_ + metrics.ascent()), text);
    x_ += metrics.horizontalAdvance(text);
  }
  if (lineEnd) {
    x_ = 0.0;
    y_ += metrics.lineSpacing();
  }
  return true;
}

}  // namespace lab
