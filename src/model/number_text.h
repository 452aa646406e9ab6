// Numbers to text and text to numbers, as the dialogs, the summary and the table write them.
#pragma once

#include <optional>
#include <string>

namespace lab {

// The shortest plain decimal text that reads back as the same number ("0.05", "10", "-3.3").
std::string plainNumberText(double value);
// A value through a number picture such as " -###,##".
std::string pictureNumberText(double value, const std::string& picture);
// A complete, finite decimal number with point or comma, blanks around it ignored;
// nothing for anything else.
std::optional<double> parseDecimalNumber(const std::string& text);

}  // namespace lab
