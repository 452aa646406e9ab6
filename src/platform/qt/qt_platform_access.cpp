// The Qt platform for those who do not see the drawing or use no mouse: the drawing's accessible
// name and description carry what a screen reader speaks, the arrow keys and Escape of measuring
// are watched on the main window, and Ctrl+C copies the table of values while it shows.
#include <algorithm>
#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include "platform/qt/qt_platform.h"
#include "platform/table_text.h"

namespace lab {

namespace {

const QString DrawingName = QStringLiteral("Zeichnung mit Stromkreis und Kurven");

// Sees each key the main window gets before the window queues it.
class KeyWatcher : public QObject {
 public:
  explicit KeyWatcher(std::function<bool(const QKeyEvent&)> take) : take_(std::move(take)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && take_(*static_cast<QKeyEvent*>(event))) return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<bool(const QKeyEvent&)> take_;
};

}  // namespace

void QtPlatform::watchKeys() {
  if (!main_ || watched_ == main_) return;
  keyWatcher_ = std::make_unique<KeyWatcher>(
      [this](const QKeyEvent& event) { return takeWatchedKey(event); });
  main_->installEventFilter(keyWatcher_.get());
  watched_ = main_;
  pointKeys_.clear();
}

bool QtPlatform::takeWatchedKey(const QKeyEvent& event) {
  if (main_ && main_->inputBlocked) return false;
  // Copying the table is no key for the program: it would end the table's prompt.
  if (!tableCells_.empty() && event.matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(QString::fromStdString(tabSeparated(tableCells_)));
    return true;
  }
  const int step = event.modifiers() & Qt::ShiftModifier ? 10 : 1;
  PointKey key;
  switch (event.key()) {
    case Qt::Key_Left:
      key.dx = -step;
      break;
    case Qt::Key_Right:
      key.dx = step;
      break;
    case Qt::Key_Up:
      key.dy = -step;
      break;
    case Qt::Key_Down:
      key.dy = step;
      break;
    case Qt::Key_Escape:
      key.escape = true;
      break;
    default:
      return false;
  }
  // The window queues the key as well, as any key; reading it here takes that entry back.
  // Outside measuring nobody reads these: only the newest few are kept.
  if (pointKeys_.size() >= 64) pointKeys_.pop_front();
  pointKeys_.emplace_back(key, keyEntry(event.key(), event.text()));
  return false;
}

PointKey QtPlatform::read_point_key() {
  watchKeys();
  if (pointKeys_.empty()) return {};
  const auto [key, entry] = pointKeys_.front();
  pointKeys_.pop_front();
  if (main_) {
    auto& keys = main_->keys;
    const auto twin = std::find(keys.begin(), keys.end(), entry);
    if (twin != keys.end()) keys.erase(twin);
  }
  return key;
}

void QtPlatform::announce(const std::string& text) {
  watchKeys();
  if (!root_) return;
  // Qt has no announcement event: the drawing's description changes, which AT-SPI reports.
  root_->setAccessibleDescription(QString::fromStdString(text));
}

void QtPlatform::describe_drawing(const std::string& text) {
  watchKeys();
  if (!root_) return;
  root_->setAccessibleName(text.empty() ? DrawingName : QString::fromStdString(text));
}

void QtPlatform::show_table_cells(const std::vector<std::vector<std::string>>& rows) {
  watchKeys();
  tableCells_ = rows;
  const auto frame = frames_.find(3);
  if (frame == frames_.end() || !frame->second) return;
  frame->second->setAccessibleName(QStringLiteral("Wertetabelle"));
  frame->second->setAccessibleDescription(QString::fromStdString(tabSeparated(rows)));
}

}  // namespace lab
