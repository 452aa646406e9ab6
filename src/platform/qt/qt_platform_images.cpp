// The Qt platform's images: captured screen bands put back pixel for pixel, the program's GIF
// pictures painted stretched, and the folder the pictures are found in.
#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QImageReader>

#include "platform/platform_texts.h"
#include "platform/qt/qt_image.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/safe_coordinates.h"

namespace lab {

ImageHandle QtPlatform::capture_image(int x1, int y1, int x2, int y2) {
  Surface* s = output();
  const auto rect = safeRect(x1, y1, x2, y2);
  if (!s || !rect) return std::make_shared<QtImage>(QImage());
  auto band = std::make_shared<CapturedBand>();
  QImage captured = s->capture(*rect, *band);
  // Bands are kept for a whole run; most of them pack into a small part of their pixels.
  auto packed = RunLengthImage::pack(captured);
  auto held = packed ? std::make_shared<QtImage>(std::move(*packed))
                     : std::make_shared<QtImage>(std::move(captured));
  held->band = std::move(band);
  return held;
}

void QtPlatform::put_image(const ImageHandle& image, int x, int y) {
  auto held = std::dynamic_pointer_cast<const QtImage>(image);
  Surface* s = output();
  const auto at = safePoint(x, y);
  if (!held || held->isNull() || !s || !at) return;
  s->putImage(std::move(held), *at);
}

ImageHandle QtPlatform::load_picture(const std::string& file_name) {
  QImageReader reader(QString::fromStdString(file_name));
  QImage picture = reader.read();
  if (picture.isNull()) {
    message_box(missingPictureText(file_name), BoxSymbol::Information);
    return nullptr;
  }
  return std::make_shared<QtImage>(std::move(picture));
}

void QtPlatform::put_picture_stretched(const ImageHandle& picture, int x, int y, int width,
                                       int height) {
  const auto* held = dynamic_cast<const QtImage*>(picture.get());
  Surface* s = output();
  if (!held || held->isNull() || !s || width <= 0 || height <= 0) return;
  const int limit = static_cast<int>(GuardLimit);
  s->putStretched(held->pixels(), QRect(std::clamp(x, -limit, limit), std::clamp(y, -limit, limit),
                                        std::min(width, limit), std::min(height, limit)));
}

namespace {

// A plain look at the names: a name filter would compile a regular expression, and with it
// half a megabyte of matcher code, on every start-up.
bool holdsPictures(const QDir& folder) {
  QDirIterator files(folder.path(), QDir::Files);
  while (files.hasNext()) {
    if (files.next().endsWith(QStringLiteral(".gif"), Qt::CaseInsensitive)) return true;
  }
  return false;
}

}  // namespace

std::string QtPlatform::picture_folder() {
  // Next to the executable in the build tree; in the shared data folder once installed. With
  // neither, the program still starts and reports the pictures missing when they are asked for.
  const QDir beside(QCoreApplication::applicationDirPath());
  const QString installed = QDir::cleanPath(
      beside.absoluteFilePath(QStringLiteral("../share/") + QString::fromStdString(programName_)));
  if (holdsPictures(beside) || !QDir(installed).exists()) {
    return beside.absolutePath().toStdString();
  }
  return installed.toStdString();
}

bool QtPlatform::set_current_folder(const std::string& folder) {
  return QDir::setCurrent(QString::fromStdString(folder));
}

}  // namespace lab
