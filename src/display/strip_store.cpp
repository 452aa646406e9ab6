// Saving a screen band as horizontal strips and painting it back.
#include "display/strip_store.h"

#include <cstddef>
#include <cstdint>

namespace lab {

namespace {

// Strips live in elements 1 to 20; a larger n never writes past the table.
int usableStrips(const StripSet& set, int n) {
  const int highest = static_cast<int>(set.size()) - 2;
  return n < highest ? n : highest;
}

}  // namespace

int stripBoundary(int i, int yBottom, int n) {
  if (n <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(i) * yBottom / n);
}

void SaveStrips(Platform& platform, StripSet& set, int x1, int x2, int yBottom, int n) {
  const int strips = usableStrips(set, n);
  for (int i = 1; i <= strips; ++i) {
    set[static_cast<std::size_t>(i)] = platform.capture_image(x1, stripBoundary(i - 1, yBottom, n),
                                                              x2, stripBoundary(i, yBottom, n));
  }
}

void RestoreStrips(Platform& platform, const StripSet& set, int x, int yBottom, int n) {
  const int strips = usableStrips(set, n);
  for (int i = 1; i <= strips; ++i) {
    const ImageHandle& strip = set[static_cast<std::size_t>(i)];
    if (strip) platform.put_image(strip, x, stripBoundary(i - 1, yBottom, n));
  }
}

}  // namespace lab
