// Printing text lines on the default printer, never on a PDF file in its place.
#include "platform/qt/printer_job.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/qt/fonts.h"

namespace lab {

PrinterJob::PrinterJob(std::function<void(const std::string&)> report)
    : report_(std::move(report)) {}

PrinterJob::~PrinterJob() {
  drop();
}

QFont PrinterJob::font() const {
  // The printer's size is in points: at 72 dots per inch a point is one unit.
  return makeFont("mono", fontSize_, 72.0);
}

bool PrinterJob::fail(const std::string& message) {
  drop();
  state_ = State::Failed;
  report_(message);
  return false;
}

void PrinterJob::drop() {
  if (painter_ && painter_->isActive()) {
    printer_->abort();
    painter_->end();
  }
  painter_.reset();
  printer_.reset();
  state_ = State::Idle;
}

bool PrinterJob::open() {
  // Without a printer Qt quietly prints into a PDF file; that is not what the pupil asked for.
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return fail(NoPrinterMessage);
  printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  if (printer_->outputFormat() != QPrinter::NativeFormat || !printer_->isValid()) {
    return fail(PrintFailedMessage);
  }
  printer_->setDocName(QStringLiteral("Tabelle"));
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) return fail(PrintFailedMessage);
  state_ = State::Open;
  x_ = 0.0;
  y_ = 0.0;
  pageEnded_ = false;
  return true;
}

bool PrinterJob::write(const std::string& text, bool lineEnd) {
  if (state_ == State::Failed) return false;
  if (state_ == State::Idle && !open()) return false;
  const QFont lineFont = font();
  const QFontMetricsF metrics(lineFont, painter_->device());
  // A page is begun only when something is printed on it, so ending a job leaves no blank page.
  if (pageEnded_ || y_ + metrics.height() > painter_->device()->height()) {
    if (!printer_->newPage()) return fail(PrintFailedMessage);
    pageEnded_ = false;
    x_ = 0.0;
    y_ = 0.0;
  }
  const QString line = QString::fromStdString(text);
  if (!line.isEmpty()) {
    painter_->setFont(lineFont);
    painter_->setPen(Qt::black);
    painter_->drawText(QPointF(x_, y_ + metrics.ascent()), line);
    x_ += metrics.horizontalAdvance(line);
  }
  if (lineEnd) {
    x_ = 0.0;
    y_ += metrics.lineSpacing();
  }
  return true;
}

bool PrinterJob::setFontSize(double size) {
  if (state_ == State::Failed) return false;
  if (std::isfinite(size) && size > 0.0) fontSize_ = size;
  return true;
}

bool PrinterJob::endPage() {
  if (state_ == State::Failed) return false;
  if (state_ == State::Open) pageEnded_ = true;
  return true;
}

bool PrinterJob::endJob() {
  if (state_ == State::Failed) {
    state_ = State::Idle;
    return false;
  }
  if (state_ == State::Idle) return true;
  const bool finished = painter_->end();
  painter_.reset();
  printer_.reset();
  state_ = State::Idle;
  if (!finished) {
    report_(PrintFailedMessage);
    return false;
  }
  return true;
}

void PrinterJob::forgetFailure() {
  if (state_ == State::Failed) state_ = State::Idle;
}

}  // namespace lab
