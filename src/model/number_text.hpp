// Conversions between numbers and their texts. Every conversion is independent
// of the process locale: the decimal separator is always a point.
#pragma once

#include <cstddef>
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
