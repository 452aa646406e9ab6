// Printing text lines on the default printer, never on a PDF file in its place.
#include "platform/qt/printer_job.h"

#include <cmath>

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "platform/qt/fonts.h"
#include "platform/qt/printer_job_cups.h"
#include "platform/qt/printer_job_lines.h"

namespace lab {
namespace {

constexpr const char* JobTitle = "Tabelle";

}  // namespace

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
  lines_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
  writer_.reset();
  buffer_.reset();
  pdf_.clear();
  state_ = State::Idle;
}

bool PrinterJob::open() {
  queue_ = defaultQueue();
  if (queue_.empty()) return fail(NoPrinterMessage);
  buffer_ = std::make_unique<QBuffer>(&pdf_);
  if (!buffer_->open(QIODevice::WriteOnly)) return fail(PrintFailedMessage);
  writer_ = std::make_unique<QPdfWriter>(buffer_.get());
  writer_->setTitle(QString::fromUtf8(JobTitle));
  writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20.0, 15.0, 15.0, 15.0), QPageLayout::Millimeter));
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(writer_.get())) return fail(PrintFailedMessage);
  lines_ = std::make_unique<PrintedLines>(*painter_, [this] { return writer_->newPage(); });
  state_ = State::Open;
  return true;
}

bool PrinterJob::write(const std::string& text, bool lineEnd) {
  if (state_ == State::Failed) return false;
  if (state_ == State::Idle && !open()) return false;
  if (!lines_->write(QString::fromStdString(text), font(), lineEnd)) {
    return fail(PrintFailedMessage);
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
  if (state_ == State::Open) lines_->endPage();
  return true;
}

bool PrinterJob::endJob() {
  if (state_ == State::Failed) {
    state_ = State::Idle;
    return false;
  }
  if (state_ == State::Idle) return true;
  lines_.reset();
  const bool drawn = painter_->end();
  const QByteArray pdf = pdf_;
  drop();
  if (!drawn) {
    report_(PrintFailedMessage);
    return false;
  }
  switch (spoolPdf(queue_, pdf, JobTitle)) {
    case SpoolAnswer::Printing:
      return true;
    case SpoolAnswer::Waiting:
      report_(PrinterStoppedMessage);
      return true;
    case SpoolAnswer::Refused:
      break;
  }
  report_(PrintFailedMessage);
  return false;
}

void PrinterJob::forgetFailure() {
  if (state_ == State::Failed) state_ = State::Idle;
}

}  // namespace lab
