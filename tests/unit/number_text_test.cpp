// Number texts: the plain shortest form, the table's number picture and the reading of typed
// decimal numbers.
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace lab {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(PlainNumberText, ShortValuesReadAsTheyAreWritten) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0.05, "0.05"},
               {10, "10"},
               {-3.3, "-3.3"},
               {0.001, "0.001"},
               {0, "0"},
               {-0.0, "0"},
               {0.5, "0.5"},
               {11.99, "11.99"},
               {-12, "-12"},
               {0.099, "0.099"},
               {1e-5, "0.00001"},
               {12345.678, "12345.678"},
               {1e20, "100000000000000000000"},
               {0.1 + 0.2, "0.30000000000000004"},
               {1e300, "1e+300"},
               {-2.5e-30, "-2.5e-30"}};
  for (const auto& c : cases) EXPECT_EQ(plainNumberText(c.value), c.text) << c.value;
}

TEST(PlainNumberText, NonFiniteValuesGetAWord) {
  EXPECT_EQ(plainNumberText(Inf), "inf");
  EXPECT_EQ(plainNumberText(-Inf), "-inf");
  EXPECT_NE(plainNumberText(NaN).find("nan"), std::string::npos);
}

TEST(PlainNumberText, ExtremeValuesReadBackExactly) {
  const double cases[] = {std::numeric_limits<double>::denorm_min(),
                          1e-310,
                          std::numeric_limits<double>::min(),
                          std::numeric_limits<double>::max(),
                          -std::numeric_limits<double>::max(),
                          0.1,
                          1.0 / 3};
  for (double value : cases) {
    const auto back = parseDecimalNumber(plainNumberText(value));
    ASSERT_TRUE(back.has_value()) << plainNumberText(value);
    EXPECT_EQ(*back, value) << plainNumberText(value);
  }
}

TEST(PlainNumberText, EveryFiniteValueReadsBackExactly) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<std::uint64_t> bits;
  for (int i = 0; i < 20000; ++i) {
    double value = 0;
    const std::uint64_t pattern = bits(random);
    static_assert(sizeof value == sizeof pattern);
    std::memcpy(&value, &pattern, sizeof value);
    if (!std::isfinite(value)) continue;
    const auto back = parseDecimalNumber(plainNumberText(value));
    ASSERT_TRUE(back.has_value()) << plainNumberText(value);
    EXPECT_EQ(*back, value) << plainNumberText(value);
  }
}

TEST(PictureNumberText, FittingValuesTakeEightCharacters) {
  const std::string picture = " -###,##";
  const struct {
    double value;
    const char* text;
  } cases[] = {{0, "    0,00"},       {10, "   10,00"},
               {-10, " - 10,00"},     {0.5, "    0,50"},
               {-0.5, " -  0,50"},    {3.14159, "    3,14"},
               {-999.99, " -999,99"}, {999.994, "  999,99"},
               {0.005, "    0,01"},  // 0.005 is held a little above the half
               {2.675, "    2,68"},  // held a little below the half, but shown and rounded as 2.675
               {0.125, "    0,13"},   {0.375, "    0,38"},
               {-0.125, " -  0,13"},  {0.145, "    0,15"},
               {9.995, "   10,00"},   {0.994999, "    0,99"},
               {-0.004, "    0,00"},  // rounds to zero: no minus sign before a zero
               {15.45, "   15,45"},   {-10.0 / 3, " -  3,33"},
               {123.456, "  123,46"}};
  for (const auto& c : cases) {
    const std::string text = pictureNumberText(c.value, picture);
    EXPECT_EQ(text, c.text) << c.value;
    EXPECT_EQ(text.size(), 8u) << c.value;
  }
}

TEST(PictureNumberText, LargeValuesWidenTheFieldAndKeepEveryDigit) {
  EXPECT_EQ(pictureNumberText(1234.56, " -###,##"), "  1234,56");
  EXPECT_EQ(pictureNumberText(-1234.56, " -###,##"), " -1234,56");
  EXPECT_EQ(pictureNumberText(999.995, " -###,##"), "  1000,00");  // held above the half
  const std::string huge = pictureNumberText(1e300, " -###,##");
  EXPECT_EQ(huge.size(), 2u + 301u + 3u);
  EXPECT_EQ(huge.substr(0, 3), "  1");
  EXPECT_EQ(huge.substr(huge.size() - 3), ",00");
}

TEST(PictureNumberText, NonFiniteValuesKeepTheFieldWidth) {
  EXPECT_EQ(pictureNumberText(NaN, " -###,##"), "     NaN");
  EXPECT_EQ(pictureNumberText(Inf, " -###,##"), "     inf");
  EXPECT_EQ(pictureNumberText(-Inf, " -###,##"), " -   inf");
}

TEST(ParseDecimalNumber, ReadsCompleteDecimalNumbers) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"0.5", 0.5},     {"0,5", 0.5},  {" 2.5 ", 2.5},   {"-12", -12},
               {"+3", 3},        {"1e3", 1000}, {"1E-2", 0.01},   {".5", 0.5},
               {"5.", 5},        {"\t4\r", 4},  {"11.99", 11.99}, {"0.099", 0.099},
               {"-0,25", -0.25}, {"007", 7},    {"1,5e1", 15},    {"  -3.3e+0  ", -3.3}};
  for (const auto& c : cases) {
    const auto value = parseDecimalNumber(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.value) << c.text;
  }
}

TEST(ParseDecimalNumber, MinusZeroReadsAsZero) {
  const auto value = parseDecimalNumber("-0");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(*value, 0);
  EXPECT_FALSE(std::signbit(*value));
}

TEST(ParseDecimalNumber, RefusesEverythingElse) {
  const char* refused[] = {"",
                           " ",
                           "abc",
                           "1.5x",
                           "0x10",
                           "nan",
                           "NaN",
                           "inf",
                           "-inf",
                           "1e999",
                           "-1e999",
                           "1e-999",
                           "1,5,0",
                           "1.5.0",
                           "1 5",
                           "e5",
                           "1e",
                           "1e+",
                           "--1",
                           "+-1",
                           "-",
                           ".",
                           ",",
                           "1.5 x",
                           "x1.5",
                           "５",
                           "ä",
                           "1 e5",
                           "0b1",
                           "1_000",
                           "1'000",
                           "\x01"
                           "1"};
  for (const char* text : refused) EXPECT_FALSE(parseDecimalNumber(text).has_value()) << text;
  EXPECT_FALSE(parseDecimalNumber(std::string("1\0", 2)).has_value());
}

TEST(ParseDecimalNumber, LongLinesOfDigitsStillReadExactly) {
  EXPECT_EQ(parseDecimalNumber(std::string(5000, '0') + "1.5"), 1.5);
  EXPECT_EQ(parseDecimalNumber("0." + std::string(300, '0') + "1e301"), 1.0);
  EXPECT_FALSE(parseDecimalNumber("1" + std::string(400, '0')).has_value());  // beyond any double
}

TEST(ParseDecimalNumber, HostileLinesNeverGiveANonFiniteValue) {
  std::mt19937 random(11);
  const std::string alphabet = "0123456789.,+-eE \t\r\nxa\x7f\xc3\xa4";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  int accepted = 0;
  for (int i = 0; i < 50000; ++i) {
    std::string line;
    const int n = length(random);
    for (int j = 0; j < n; ++j) line += alphabet[pick(random)];
    if (const auto value = parseDecimalNumber(line)) {
      ++accepted;
      EXPECT_TRUE(std::isfinite(*value)) << line;
    }
  }
  EXPECT_GT(accepted, 0);  // the alphabet does produce numbers, so the check above ran
}

// In a German locale the C library writes and reads a decimal comma; the texts keep their point.
TEST(NumberTexts, StayTheSameInAGermanLocale) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE.UTF-8";
  EXPECT_EQ(plainNumberText(2.5), "2.5");
  EXPECT_EQ(plainNumberText(-1.25e-30), "-1.25e-30");
  EXPECT_EQ(pictureNumberText(0.125, " -###,##"), "    0,13");
  EXPECT_EQ(parseDecimalNumber("2.5"), 2.5);
  EXPECT_EQ(parseDecimalNumber("2,5"), 2.5);
  std::setlocale(LC_NUMERIC, before.c_str());
}

}  // namespace
}  // namespace lab
