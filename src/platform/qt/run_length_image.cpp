// Packing an image into runs of equal pixels and unpacking it again.
#include "platform/qt/run_length_image.h"

#include <algorithm>

namespace lab {

RunLengthImage::RunLengthImage(const QImage& image, std::vector<Run> runs)
    : size_(image.size()),
      format_(image.format()),
      ratio_(image.devicePixelRatio()),
      runs_(std::move(runs)) {}

std::optional<RunLengthImage> RunLengthImage::pack(const QImage& image) {
  if (image.isNull() || image.depth() != 32) return std::nullopt;
  const auto pixels = static_cast<std::size_t>(image.width()) * image.height();
  const std::size_t mostRuns = pixels * sizeof(QRgb) / sizeof(Run);
  std::vector<Run> runs;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (!runs.empty() && runs.back().pixel == row[x]) {
        ++runs.back().length;
        continue;
      }
      if (runs.size() >= mostRuns) return std::nullopt;
      runs.push_back({row[x], 1});
    }
  }
  runs.shrink_to_fit();
  return RunLengthImage(image, std::move(runs));
}

QImage RunLengthImage::unpacked() const {
  QImage image(size_, format_);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(ratio_);
  const int width = size_.width();
  int x = 0;
  int y = 0;
  auto* row = reinterpret_cast<QRgb*>(image.scanLine(0));
  // The runs cover the pixels exactly, so the last one ends at the end of the last row.
  for (const Run& run : runs_) {
    for (quint32 left = run.length; left > 0;) {
      const int part = static_cast<int>(std::min<quint32>(left, static_cast<quint32>(width - x)));
      std::fill_n(row + x, part, run.pixel);
      x += part;
      left -= static_cast<quint32>(part);
      if (x == width && ++y < size_.height()) {
        x = 0;
        row = reinterpret_cast<QRgb*>(image.scanLine(y));
      }
    }
  }
  return image;
}

}  // namespace lab
