// Numbers to text and text to numbers: the plain shortest form, the table's number picture and
// the reading of a typed decimal number.
#include "model/number_text.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

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

// Reads a number already checked to be digits with an optional '-', '.' and exponent. The C
// library reads with the process locale's decimal point (a comma in a German locale), so the
// point is put in its form. Nothing for a value beyond any double, or one too small to hold.
std::optional<double> readCheckedNumber(std::string number) {
  const std::string localPoint = std::localeconv()->decimal_point;
  if (const std::size_t point = number.find('.'); point != std::string::npos) {
    number.replace(point, 1, localPoint);
  }
  char* end = nullptr;
  const double value = std::strtod(number.c_str(), &end);
  if (end != number.c_str() + number.size() || !std::isfinite(value)) return std::nullopt;
  const std::size_t mantissaEnd = number.find_first_of("eE");
  const bool nonzeroDigit =
      number.substr(0, mantissaEnd).find_first_of("123456789") != std::string::npos;
  if (value == 0 && nonzeroDigit) return std::nullopt;
  return value;
}

// The shortest digits that read back as a finite, nonzero magnitude: value = d.ddd × 10^exponent.
struct ShortestDigits {
  std::string digits;
  int exponent = 0;
};

ShortestDigits shortestDigits(double magnitude) {
  ShortestDigits found;
  for (int precision = 0; precision <= 16; ++precision) {
    // "d.ddde+xx" in the process locale: only its digits are kept, so its decimal point (a
    // comma in a German locale) never reaches a text, and strtod reads the text back alike.
    std::array<char, 40> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.*e", precision, magnitude);
    const std::string text = buffer.data();
    const std::size_t e = text.find('e');
    found.digits.clear();
    for (std::size_t at = 0; at < e; ++at) {
      if (isDigit(text[at])) found.digits += text[at];
    }
    found.exponent = std::stoi(text.substr(e + 1));
    if (readCheckedNumber(text) == magnitude) break;
  }
  while (found.digits.size() > 1 && found.digits.back() == '0') found.digits.pop_back();
  return found;
}

// The shortest round-trip text of a finite value without an exponent ("0.00001", "1e20" in full).
std::string shortestFixedText(double value) {
  if (value == 0) return "0";
  const ShortestDigits d = shortestDigits(std::fabs(value));
  const std::string sign = value < 0 ? "-" : "";
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent < 0) return sign + "0." + std::string(-d.exponent - 1, '0') + d.digits;
  if (d.exponent + 1 >= count) return sign + d.digits + std::string(d.exponent + 1 - count, '0');
  return sign + d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
}

// The shortest round-trip text of a finite, nonzero value with an exponent ("-2.5e-30").
std::string shortestScientificText(double value) {
  const ShortestDigits d = shortestDigits(std::fabs(value));
  const std::string exponent = std::to_string(std::abs(d.exponent));
  return (value < 0 ? "-" : "") + d.digits.substr(0, 1) +
         (d.digits.size() > 1 ? "." + d.digits.substr(1) : "") + (d.exponent < 0 ? "e-" : "e+") +
         (exponent.size() < 2 ? "0" : "") + exponent;
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
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  std::string fixed = shortestFixedText(value);
  return fixed.size() <= LongestFixedText ? fixed : shortestScientificText(value);
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

  std::string digits = roundedHalfAway(shortestFixedText(std::fabs(value)), p.decimals);
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

  std::string number;  // the same number with no '+' and a point
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

  const std::optional<double> value = readCheckedNumber(number);
  if (!value) return std::nullopt;
  return *value + 0.0;  // -0 reads as 0
}

}  // namespace lab
