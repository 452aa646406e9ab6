// Fuzz target for the number texts: whatever is typed, an accepted number is finite, has the
// form of a decimal number, and its own text reads back as the same value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

#include "model/number_text.h"
#include "null_platform.h"

namespace {

bool isBlank(char c) {
  return std::strchr(" \t\r\n\f\v", c) != nullptr && c != '\0';
}

std::size_t skipDigits(const std::string& text, std::size_t at) {
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

// Blanks, an optional sign, digits with at most one point or comma, an optional exponent, blanks.
bool looksDecimal(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  const std::size_t integerStart = at;
  at = skipDigits(text, at);
  std::size_t digits = at - integerStart;
  if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
    const std::size_t fractionStart = ++at;
    at = skipDigits(text, at);
    digits += at - fractionStart;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t exponentStart = at;
    at = skipDigits(text, at);
    if (at == exponentStart) return false;
  }
  while (at < text.size() && isBlank(text[at])) ++at;
  return at == text.size();
}

void checkPicture(double value) {
  const std::string text = lab::pictureNumberText(value, " -###,##");
  if (text.size() < 8) lab::fuzz::fault("picture text shorter than its picture: " + text);
  if (std::isfinite(value) && std::fabs(value) < 999.99 && text.size() != 8) {
    lab::fuzz::fault("picture text of a fitting value is not 8 characters: " + text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto value = lab::parseDecimalNumber(text)) {
    if (!std::isfinite(*value)) lab::fuzz::fault("a non-finite number was accepted: " + text);
    if (!looksDecimal(text)) lab::fuzz::fault("a text that is no decimal number: " + text);
    const auto again = lab::parseDecimalNumber(lab::plainNumberText(*value));
    if (!again || *again != *value) lab::fuzz::fault("the number text does not read back");
    checkPicture(*value);
  }

  FuzzedDataProvider in(data, size);
  const double raw = in.ConsumeFloatingPoint<double>();
  const std::string plain = lab::plainNumberText(raw);
  if (std::isfinite(raw)) {
    const auto back = lab::parseDecimalNumber(plain);
    if (!back || *back != raw) lab::fuzz::fault("plain text does not read back: " + plain);
  }
  checkPicture(raw);
  return 0;
}
