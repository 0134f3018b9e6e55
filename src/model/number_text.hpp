// Conversions between numbers and their texts. Every conversion is independent
// of the process locale: the decimal separator is always a point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zem {

struct DoubleReading {
  double value = 0.0;
  bool rangeError = false;  // the number is too large for a double
};

struct IntReading {
  int value = 0;
  bool rangeError = false;  // outside the 32-bit range; value is clamped
};

// Powers of ten that a double holds exactly.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// mantissa / 10^fractionDigits when both are exact doubles (a mantissa up to
// 2^53, at most 22 digits): one division then rounds as reading the digits
// would. False when the decimal needs the full conversion.
inline bool exactDecimal(std::uint64_t mantissa, unsigned fractionDigits, double& value) {
  if (mantissa > (std::uint64_t{1} << 53) || fractionDigits > 22) return false;
  value = static_cast<double>(mantissa) / kExactPowersOfTen[fractionDigits];
  return true;
}

// Reads a real as the C library's strtod does in the "C" locale.
DoubleReading readDouble(std::string_view text);
// Reads a base-10 integer with an optional sign as a 32-bit strtol would.
IntReading readInt(std::string_view text);

// Appends the decimal form of an int.
void appendInt(std::string& out, int value);
// Appends the "%g" form of a float, or "%.9g" when the short form would not
// read back to the same float.
void appendFloat(std::string& out, float value);
// Appends "%#.1f" for an integral value in the 32-bit range, else "%.16g", or
// "%.17g" when "%.16g" would not read back to the same double.
void appendDouble(std::string& out, double value, bool fixedWhenIntegral = true);

// The same forms written at `at`, which has room for kIntRoom, kFloatRoom or
// kDoubleRoom bytes; each returns the end of what it wrote.
constexpr std::size_t kIntRoom = 16;
constexpr std::size_t kFloatRoom = 64;
constexpr std::size_t kDoubleRoom = 400;
char* formatInt(char* at, int value);
char* formatFloat(char* at, float value);
char* formatDouble(char* at, double value, bool fixedWhenIntegral = true);

// The process-wide "C" numeric locale object, made once and never changed.
void* numericLocale();

}  // namespace zem
