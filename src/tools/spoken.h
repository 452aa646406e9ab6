// The texts a screen reader speaks for what the drawing shows only as pixels, and the table of
// values as cells: the same German texts on every platform.
#pragma once

#include <string>
#include <vector>

namespace lab {

// A value as the table writes it (" -###,##"), without the picture's blanks: "-0,05".
std::string spokenValue(double value, const std::string& picture);
// The end of a sweep: the last time, voltage and current, as the table writes them.
std::string sweepEndText(double t, double U, double I, const std::string& picture);
// A reading of measuring: its panel's quantity, the value in tenths with a decimal comma, the
// unit, and the time under the point.
std::string readingSpoken(bool voltage, int tenths, double t);
// A table's heading line cut into its column names (two or more blanks part them).
std::vector<std::string> headingCells(const std::string& heading);

}  // namespace lab
