// Numbers to text and text to numbers: the plain shortest form, the table's number picture and
// the reading of a typed decimal number.
#include "model/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace lab {

namespace {

// Longer plain fixed texts (tiny or huge magnitudes) read better with an exponent.
constexpr std::size_t LongestFixedText = 24;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string shortestText(double value, std::chars_format format) {
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
  return std::string(buffer.data(), result.ptr);
}

// The parts of a number picture such as " -###,##".
struct Picture {
  std::string lead;  // literal characters before the sign place
  bool signPlace = false;
  int integerPlaces = 0;
  char separator = ',';
  int decimals = 0;
};

Picture parsePicture(const std::string& picture) {
  Picture parsed;
  std::size_t at = 0;
  while (at < picture.size() && picture[at] != '-' && picture[at] != '#') {
    parsed.lead += picture[at++];
  }
  if (at < picture.size() && picture[at] == '-') {
    parsed.signPlace = true;
    ++at;
  }
  while (at < picture.size() && picture[at] == '#') {
    ++parsed.integerPlaces;
    ++at;
  }
  if (at < picture.size() && (picture[at] == ',' || picture[at] == '.')) {
    parsed.separator = picture[at++];
    while (at < picture.size() && picture[at] == '#') {
      ++parsed.decimals;
      ++at;
    }
  }
  return parsed;
}

// A plain fixed text ("2.675") rounded to its decimals with halves away from zero, as a pupil
// rounds the number the program shows, not the binary value just below or above it.
std::string roundedHalfAway(const std::string& fixed, int decimals) {
  const std::size_t point = fixed.find('.');
  const std::string whole = fixed.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : fixed.substr(point + 1);
  const std::size_t kept = static_cast<std::size_t>(decimals);
  const bool up = fraction.size() > kept && fraction[kept] >= '5';
  fraction.resize(kept, '0');
  std::string number = whole + fraction;
  for (std::size_t at = number.size(); up && at-- > 0;) {
    if (number[at] != '9') {
      ++number[at];
      break;
    }
    number[at] = '0';
    if (at == 0) number.insert(number.begin(), '1');
  }
  const std::size_t integerDigits = number.size() - kept;
  return kept == 0 ? number : number.substr(0, integerDigits) + "." + number.substr(integerDigits);
}

std::string padLeft(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

std::string plainNumberText(double value) {
  if (value == 0) return "0";  // also for -0, which would read "-0"
  std::string text = shortestText(value, std::chars_format::general);
  if (std::isfinite(value) && text.find('e') != std::string::npos) {
    std::string fixed = shortestText(value, std::chars_format::fixed);
    if (fixed.size() <= LongestFixedText) text = std::move(fixed);
  }
  return text;
}

std::string pictureNumberText(double value, const std::string& picture) {
  const Picture p = parsePicture(picture);
  const std::size_t width =
      static_cast<std::size_t>(p.integerPlaces) + (p.decimals > 0 ? 1 + p.decimals : 0);
  std::string sign = p.signPlace ? " " : "";

  if (!std::isfinite(value)) {
    // A fixed-width word in place of the digits keeps the row's columns in line.
    if (p.signPlace && value < 0) sign = "-";
    return p.lead + sign + padLeft(std::isnan(value) ? "NaN" : "inf", width);
  }

  std::string digits =
      roundedHalfAway(shortestText(std::fabs(value), std::chars_format::fixed), p.decimals);
  const bool roundsToZero = digits.find_first_not_of("0.") == std::string::npos;
  if (value < 0 && !roundsToZero) {
    // Without a sign place the sign takes a digit place, as in a plain number.
    if (p.signPlace) {
      sign = "-";
    } else {
      digits = "-" + digits;
    }
  }
  const std::size_t point = digits.find('.');
  std::string integerPart = digits.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
  // A value too large for its places widens the field instead of losing digits.
  std::string text = padLeft(integerPart, static_cast<std::size_t>(p.integerPlaces));
  if (p.decimals > 0) text += p.separator + fraction;
  return p.lead + sign + text;
}

std::optional<double> parseDecimalNumber(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;

  std::string number;  // the same number in the form from_chars reads: no '+', a point
  std::size_t at = begin;
  if (at < end && (text[at] == '+' || text[at] == '-')) {
    if (text[at] == '-') number += '-';
    ++at;
  }
  int mantissaDigits = 0;
  bool separatorSeen = false;
  for (; at < end; ++at) {
    const char c = text[at];
    if (isDigit(c)) {
      number += c;
      ++mantissaDigits;
    } else if ((c == '.' || c == ',') && !separatorSeen) {
      number += '.';
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (at < end && (text[at] == 'e' || text[at] == 'E')) {
    number += 'e';
    ++at;
    if (at < end && (text[at] == '+' || text[at] == '-')) {
      if (text[at] == '-') number += '-';
      ++at;
    }
    int exponentDigits = 0;
    for (; at < end && isDigit(text[at]); ++at) {
      number += text[at];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  if (at != end) return std::nullopt;

  double value = 0;
  const char* first = number.data();
  const char* last = number.data() + number.size();
  const auto result = std::from_chars(first, last, value);
  // Out of range covers overflow to infinity and numbers too small to hold.
  if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value + 0.0;  // -0 reads as 0
}

}  // namespace lab
