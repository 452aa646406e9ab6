// The spoken texts of the drawing and the cells of the table of values.
#include "tools/spoken.h"

#include <cstdlib>

#include "model/number_text.h"

namespace lab {

std::string spokenValue(double value, const std::string& picture) {
  // the picture's fill blanks go, also those between the sign and the digits
  std::string text;
  for (char c : pictureNumberText(value, picture)) {
    if (c != ' ') text += c;
  }
  return text;
}

std::string sweepEndText(double t, double U, double I, const std::string& picture) {
  return "Ende des Durchlaufs: Zeit " + spokenValue(t, picture) + " s, Spannung U " +
         spokenValue(U, picture) + " V, Strom I " + spokenValue(I, picture) + " µA.";
}

std::string readingSpoken(bool voltage, int tenths, double t) {
  // tenths as text with a decimal comma; the sign stays with the whole number
  std::string value = std::to_string(std::abs(tenths) / 10);
  if (tenths % 10 != 0) value += "," + std::to_string(std::abs(tenths) % 10);
  if (tenths < 0) value = "-" + value;
  std::string time = spokenValue(t, " -###,##");
  return std::string(voltage ? "Spannung " : "Strom ") + value + (voltage ? " V" : " µA") +
         " bei " + time + " s";
}

std::vector<std::string> headingCells(const std::string& heading) {
  std::vector<std::string> cells;
  std::size_t at = heading.find_first_not_of(' ');
  while (at != std::string::npos) {
    const std::size_t end = heading.find("  ", at);
    cells.push_back(heading.substr(at, end == std::string::npos ? end : end - at));
    at = end == std::string::npos ? end : heading.find_first_not_of(' ', end);
  }
  return cells;
}

}  // namespace lab
