// A print job on the system's default printer: lines of text in a fixed-pitch font, opened by
// the first write and ended by the program; failures are reported once per job.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QByteArray>
#include <QFont>

class QBuffer;
class QPainter;
class QPdfWriter;

namespace lab {

class PrintedLines;

class PrinterJob {
 public:
  // report shows a message box to the pupil.
  explicit PrinterJob(std::function<void(const std::string&)> report);
  ~PrinterJob();

  bool write(const std::string& text, bool lineEnd);
  bool setFontSize(double size);
  bool endPage();
  bool endJob();
  // A new command starts: a job that failed before no longer silences the next one.
  void forgetFailure();

 private:
  enum class State { Idle, Open, Failed };
  bool open();
  bool fail(const std::string& message);
  void drop();
  QFont font() const;

  std::function<void(const std::string&)> report_;
  State state_ = State::Idle;
  double fontSize_ = 12.0;
  std::string queue_;
  // The job is drawn as PDF into memory and handed to the queue when it ends; no file is written.
  QByteArray pdf_;
  std::unique_ptr<QBuffer> buffer_;
  std::unique_ptr<QPdfWriter> writer_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<PrintedLines> lines_;
};

inline constexpr const char* NoPrinterMessage =
    "Kein Drucker gefunden.|Die Tabelle wurde nicht gedruckt.";
inline constexpr const char* PrintFailedMessage =
    "Der Druckauftrag ist fehlgeschlagen.|Die Tabelle wurde nicht gedruckt.";
inline constexpr const char* PrinterStoppedMessage =
    "Der Drucker ist angehalten.|Die Tabelle wartet in seiner Warteschlange.";

}  // namespace lab
