// The Qt platform's modal message boxes, their modality kept by hand so that closing the main
// window still ends the program while a box shows.
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include "platform/qt/qt_platform.h"

namespace lab {

void QtPlatform::blockMainInput(bool blocked) {
  if (!main_) return;
  main_->inputBlocked = blocked;
  main_->menuBar()->setEnabled(!blocked);
  if (root_) root_->setEnabled(!blocked);
  if (!blocked) main_->setFocus();
}

void QtPlatform::showBox(const std::string& text, BoxKind kind, bool evenWithoutMainWindow) {
  if (!evenWithoutMainWindow && !main_window_exists()) return;
  QString lines = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  lines.replace(QLatin1Char('|'), QLatin1Char('\n'));

  QMessageBox box(main_window_exists() ? main_ : nullptr);
  // Truly modal boxes would swallow the main window's close request; see blockMainInput.
  box.setWindowModality(Qt::NonModal);
  box.setWindowTitle(QString::fromStdString(caption_.empty() ? programName_ : caption_));
  box.setTextFormat(Qt::PlainText);
  box.setText(lines);
  switch (kind) {
    case BoxKind::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case BoxKind::Author:
      box.setIconPixmap(box.style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
      break;
    case BoxKind::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);

  QPointer<QMessageBox> outerBox = box_;
  box_ = &box;
  ++boxDepth_;
  blockMainInput(true);
  if (main_window_exists() &&
      QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    // A Wayland compositor places a new window where it likes, parent or not, and a client may
    // not move it: the box is laid into the main window instead, centred over it.
    box.setWindowFlags(Qt::Widget);
    box.setStyleSheet(QStringLiteral(
        "QMessageBox { background: palette(window); border: 1px solid palette(shadow); }"));
    // A message box takes its size as it is shown.
    box.show();
    box.move((main_->width() - box.width()) / 2, (main_->height() - box.height()) / 2);
    box.raise();
    ok->setFocus();
  } else {
    box.show();
    box.raise();
    box.activateWindow();
  }
  while (box.isVisible() && (evenWithoutMainWindow || main_window_exists())) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  box.hide();
  --boxDepth_;
  box_ = outerBox;
  if (boxDepth_ == 0) blockMainInput(false);
}

void QtPlatform::message_box(const std::string& text, BoxSymbol symbol) {
  showBox(text, boxKindOf(symbol), false);
}

}  // namespace lab
