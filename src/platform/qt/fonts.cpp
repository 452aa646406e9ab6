// Font faces and sizes for drawing surfaces, edit fields and the printer.
#include "platform/qt/fonts.h"

#include <algorithm>
#include <cmath>

namespace lab {

QString fontFamily(const std::string& name) {
  if (name == "times") return QStringLiteral("Liberation Serif");
  if (name == "mono") return QStringLiteral("Liberation Mono");
  return QStringLiteral("Liberation Sans");
}

QFont makeFont(const std::string& name, double pixelSize, double dotsPerInch) {
  QFont font(fontFamily(name));
  font.setStyleHint(name == "mono" ? QFont::Monospace
                                   : (name == "times" ? QFont::Serif : QFont::SansSerif));
  // Hinting would round the size to whole pixels; the layout asks for fractional sizes.
  font.setHintingPreference(QFont::PreferNoHinting);
  // Points are 1/72 inch; Qt refuses sizes that are not positive.
  const double pixels = std::isfinite(pixelSize) ? std::clamp(pixelSize, 0.1, 4000.0) : 12.0;
  font.setPointSizeF(pixels * 72.0 / dotsPerInch);
  return font;
}

}  // namespace lab
