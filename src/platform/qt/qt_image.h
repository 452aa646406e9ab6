// The image the Qt platform hands to the program: a captured band or a loaded picture.
#pragma once

#include <QImage>

#include "platform/platform.h"

namespace lab {

struct QtImage : PlatformImage {
  explicit QtImage(QImage image_) : image(std::move(image_)) {}
  QImage image;
};

}  // namespace lab
