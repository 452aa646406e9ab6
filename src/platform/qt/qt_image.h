// The image the Qt platform hands to the program: a captured band or a loaded picture.
#pragma once

#include <memory>
#include <optional>

#include <QImage>

#include "platform/platform.h"
#include "platform/qt/drawing_record.h"
#include "platform/qt/run_length_image.h"

namespace lab {

struct QtImage : PlatformImage {
  explicit QtImage(QImage image_) : image(std::move(image_)) {}
  explicit QtImage(RunLengthImage runs_) : runs(std::move(runs_)) {}
  bool isNull() const { return !runs && image.isNull(); }
  // Unpacked afresh from the runs for each use when it is held as runs.
  QImage pixels() const { return runs ? runs->unpacked() : image; }

  QImage image;
  std::optional<RunLengthImage> runs;
  // A captured band's calls, to paint it at another scale; none for a loaded picture.
  std::shared_ptr<const CapturedBand> band;
};

}  // namespace lab
