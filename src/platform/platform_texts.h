// The German texts the platforms show of their own accord, the same on the desktop and in the
// browser.
#pragma once

#include <string>

namespace lab {

// The report of a failed platform call, shown before the program stops.
inline std::string runTimeErrorText(const std::string& what) {
  return "Laufzeitfehler: " + what;
}

// A picture that cannot be loaded is told to the pupil, and the program goes on without it.
inline std::string missingPictureText(const std::string& fileName) {
  return "Das Bild " + fileName + " fehlt oder ist nicht lesbar.";
}

}  // namespace lab
