// Lines of text on the pages of a print job: every line, an empty one too, takes the font's line
// spacing, and a line that no longer fits begins the next page.
#pragma once

#include <functional>

#include <QFont>
#include <QString>

class QPainter;

namespace lab {

class PrintedLines {
 public:
  // newPage begins the next page of the painter's device and says whether that worked.
  PrintedLines(QPainter& painter, std::function<bool()> newPage);

  bool write(const QString& text, const QFont& font, bool lineEnd);
  // The next line goes on a new page; a page is begun only when something is printed on it.
  void endPage() { pageEnded_ = true; }

 private:
  QPainter& painter_;
  std::function<bool()> newPage_;
  double x_ = 0.0;
  double y_ = 0.0;
  bool pageEnded_ = false;
};

}  // namespace lab
