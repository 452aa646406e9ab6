// An image held as runs of equal pixels, row after row: a saved band of the blank graph has a
// few long runs per row and takes a fiftieth of its pixels' memory this way.
#pragma once

#include <optional>
#include <vector>

#include <QImage>

namespace lab {

class RunLengthImage {
 public:
  // Empty for an image that is not 32 bits a pixel, or whose runs would take no less memory
  // than its pixels.
  static std::optional<RunLengthImage> pack(const QImage& image);
  // Pixel for pixel the image it was packed from, in its format and device pixel ratio.
  QImage unpacked() const;

 private:
  struct Run {
    QRgb pixel;
    quint32 length;
  };
  RunLengthImage(const QImage& image, std::vector<Run> runs);

  QSize size_;
  QImage::Format format_;
  double ratio_;
  std::vector<Run> runs_;
};

}  // namespace lab
