// The program's font names mapped onto installed faces, sized in pixels of a paint device.
#pragma once

#include <string>

#include <QFont>

class QPaintDevice;

namespace lab {

// "times" is Liberation Serif, "mono" Liberation Mono, anything else Liberation Sans.
QString fontFamily(const std::string& name);
// A font whose size is pixelSize pixels (fractions kept) on a device of the given resolution.
QFont makeFont(const std::string& name, double pixelSize, double dotsPerInch);

}  // namespace lab
