// Number reading and formatting: exact agreement with the C library's
// conversion under the "C" locale, clamping of integers, and independence
// from the process locale.
#include <gtest/gtest.h>
#include <locale.h>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstring>
#include <random>
#include <string>

#include "model/number_text.hpp"

using namespace zem;

namespace {

void expectSameAsStrtod(const std::string& text) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  errno = 0;
  const double expected = strtod_l(text.c_str(), nullptr, c);
  const bool rangeError = errno == ERANGE;
  const DoubleReading r = readDouble(text);
  EXPECT_EQ(std::memcmp(&r.value, &expected, sizeof expected), 0) << text << ": " << r.value << " vs " << expected;
  EXPECT_EQ(r.rangeError, rangeError) << text;
}

// Decimal texts of every shape the reader meets: signs, leading zeros, long
// mantissas, points anywhere, exponents from tiny to huge.
std::string generatedText(std::mt19937& rng) {
  std::uniform_int_distribution<int> digit(0, 9), coin(0, 3), lengths(1, 22), exponents(-340, 340);
  std::string text;
  if (coin(rng) == 0) text.push_back(coin(rng) == 0 ? '+' : '-');
  if (coin(rng) == 0) text.append(static_cast<std::size_t>(coin(rng)), '0');
  const int length = lengths(rng);
  const int point = coin(rng) == 0 ? -1 : std::uniform_int_distribution<int>(0, length)(rng);
  for (int i = 0; i < length; ++i) {
    if (i == point) text.push_back('.');
    text.push_back(static_cast<char>('0' + digit(rng)));
  }
  if (point == length) text.push_back('.');
  const int form = coin(rng);
  if (form == 1) text += "e" + std::to_string(exponents(rng) / 10);
  if (form == 2) text += "E" + std::to_string(exponents(rng));
  if (form == 3) text += "e+" + std::to_string(std::abs(exponents(rng)) / 20);
  return text;
}

std::string formatDouble(double value, bool fixedWhenIntegral = true) {
  std::string out;
  appendDouble(out, value, fixedWhenIntegral);
  return out;
}

std::string formatFloat(float value) {
  std::string out;
  appendFloat(out, value);
  return out;
}

TEST(NumberText, ReadingAgreesWithStrtodOnChosenAndGeneratedTexts) {
  // clang-format off
  for (const char* text : {
      "0", "-0", "+0.000", "7", "2.5", "0.1", "0.3", ".5", "5.", "1e22", "1e23", "1e-22", "1e-23", "123456789012345",
      "1234567890123456", "9007199254740993", "0.000000000000000000000001", "4.9e-324", "2.2250738585072014e-308",
      "1.7976931348623157e308", "1.8e308", "1e999", "-1e999", "1e-400", "1e-310", "0e999", "3.4028235e38", "1e",
      "1e+", "12abc", " 12", "", ".", "-", "inf", "nan", "0x10"})
    expectSameAsStrtod(text);
  // clang-format on
  std::mt19937 rng(20240611);
  for (int i = 0; i < 600; ++i) expectSameAsStrtod(generatedText(rng));
}

TEST(NumberText, IntegerReadingClampsToThe32BitRange) {
  // clang-format off
  const std::tuple<const char*, int, bool> cases[] = {
      {"2147483647", 2147483647, false}, {"2147483648", 2147483647, true}, {"-2147483648", -2147483647 - 1, false},
      {"-2147483649", -2147483647 - 1, true}, {"99999999999999999999999999", 2147483647, true}, {"+12", 12, false},
      {"  42", 42, false}, {"12abc", 12, false}, {"0042", 42, false}, {"", 0, false}, {"-", 0, false}};
  // clang-format on
  for (const auto& [text, value, rangeError] : cases) {
    EXPECT_EQ(readInt(text).value, value) << text;
    EXPECT_EQ(readInt(text).rangeError, rangeError) << text;
  }
}

TEST(NumberText, DoublesWriteFixedWhenIntegralFloatsShortAndBothReadBack) {
  EXPECT_EQ(formatDouble(-2147483648.0), "-2147483648.0");
  EXPECT_EQ(formatDouble(2147483648.0), "2147483648");
  EXPECT_EQ(formatDouble(1e300), "1e+300");
  EXPECT_EQ(formatDouble(5.0, false), "5");
  std::mt19937 rng(7);
  for (int i = 0; i < 200; ++i) {
    const DoubleReading r = readDouble(generatedText(rng));
    if (r.rangeError) continue;
    EXPECT_EQ(readDouble(formatDouble(r.value)).value, r.value) << r.value;
  }
  for (float f : {3.4028235e+38f, 1.17549435e-38f, 16777217.0f, 0.3f, -123.456f}) {
    const std::string text = formatFloat(f);
    float back = 0.0f;
    std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(back, f) << text;
  }
}

TEST(NumberText, CommaLocaleStillReadsAndWritesPoints) {
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
    if (!comma && std::setlocale(LC_ALL, name) != nullptr)
      comma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
  if (!comma) {
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no comma-decimal locale installed";
  }
  EXPECT_EQ(readDouble("2.5").value, 2.5);
  EXPECT_EQ(readDouble("2.5e-30").value, 2.5e-30);  // beyond the exact fast path
  EXPECT_EQ(readDouble("1.2345678901234567").value, 1.2345678901234567);
  EXPECT_EQ(formatDouble(2.5), "2.5");
  EXPECT_EQ(formatDouble(3.0), "3.0");
  EXPECT_EQ(formatDouble(1.25e-30), "1.25e-30");
  EXPECT_EQ(formatFloat(0.5f), "0.5");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
