#include "model/number_text.hpp"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace zem {
namespace {

locale_t makeNumericLocale() { return newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr)); }

bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Exact for decimal texts of at most 15 significant digits and small scales:
// the mantissa and the power of ten are exact doubles and one division or
// multiplication rounds correctly. Returns false when the text needs the full
// conversion.
bool readSimpleDouble(std::string_view text, double& out) {
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  const char* const digits = p;
  std::uint64_t mantissa = 0;  // wraps for long texts, which are refused below
  while (p < end && *p == '0') ++p;
  const char* first = p;  // the first significant digit
  while (p < end && isDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
  std::ptrdiff_t significant = p - first;
  bool any = p != digits;
  std::ptrdiff_t scale = 0;
  if (p < end && *p == '.') {
    const char* const fraction = ++p;
    // Zeros before the first significant digit only move the point.
    if (significant == 0)
      while (p < end && *p == '0') ++p;
    first = p;
    while (p < end && isDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    significant += p - first;
    scale = -(p - fraction);
    any = any || p != fraction;
  }
  if (!any || significant > 15) return false;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool expNegative = false;
    if (p < end && (*p == '+' || *p == '-')) expNegative = *p++ == '-';
    if (p >= end) return false;
    int exponent = 0;
    for (; p < end && isDigit(*p); ++p) {
      if (exponent > 1000) return false;
      exponent = exponent * 10 + (*p - '0');
    }
    scale += expNegative ? -exponent : exponent;
  }
  if (p != end) return false;
  double value = static_cast<double>(mantissa);
  if (mantissa == 0) {
    value = 0.0;
  } else if (scale < 0) {
    if (-scale > 22) return false;
    value /= kExactPowersOfTen[-scale];
  } else if (scale > 0) {
    if (scale > 22) return false;
    value *= kExactPowersOfTen[scale];
  }
  out = negative ? -value : value;
  return true;
}

// A correctly rounded reading of a plain decimal text, which is what strtod
// gives for a finite normal result. False when the text is anything else or
// the result is zero, subnormal or out of range: strtod then decides, with
// its range error.
bool readNormalDouble(std::string_view text, double& out) {
  const char* p = text.data();
  const char* const end = p + text.size();
  if (p < end && *p == '+') {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) return false;
  }
  double value = 0;
  const auto [stop, error] = std::from_chars(p, end, value, std::chars_format::general);
  if (error != std::errc() || stop != end || std::fpclassify(value) != FP_NORMAL) return false;
  out = value;
  return true;
}

template <typename T>
bool readsBack(const char* first, const char* last, T value) {
  T back{};
  auto [ptr, ec] = std::from_chars(first, last, back);
  return ec == std::errc() && ptr == last && back == value;
}

}  // namespace

void* numericLocale() {
  static const locale_t locale = makeNumericLocale();
  return locale;
}

DoubleReading readDouble(std::string_view text) {
  DoubleReading r;
  if (readSimpleDouble(text, r.value) || readNormalDouble(text, r.value)) return r;
  // strtod_l under the "C" locale decides the value and its range error. It
  // needs a terminated text: short ones are copied on the stack.
  char local[64];
  std::string heap;
  const char* terminated = local;
  if (text.size() < sizeof local) {
    std::memcpy(local, text.data(), text.size());
    local[text.size()] = '\0';
  } else {
    heap.assign(text);
    terminated = heap.c_str();
  }
  char* end = nullptr;
  errno = 0;
  r.value = strtod_l(terminated, &end, static_cast<locale_t>(numericLocale()));
  // The C library reports a range error for results below the normal range
  // too, but those are the nearest double (subnormal or zero) and kept; only
  // a number too large for a double has no value.
  r.rangeError = errno == ERANGE && std::isinf(r.value);
  return r;
}

IntReading readInt(std::string_view text) {
  IntReading r;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  // Nine digits never pass the limit.
  const char* const safe = end - p > 9 ? p + 9 : end;
  std::uint32_t small = 0;
  while (p < safe && isDigit(*p)) small = small * 10 + static_cast<unsigned>(*p++ - '0');
  std::int64_t magnitude = small;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  for (; p < end && isDigit(*p); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) {
      // Like strtol: out of range, clamped.
      r.rangeError = true;
      magnitude = limit;
      break;
    }
  }
  r.value = static_cast<int>(negative ? -magnitude : magnitude);
  return r;
}

char* formatInt(char* at, int value) { return std::to_chars(at, at + kIntRoom, value).ptr; }

char* formatFloat(char* at, float value) {
  char* const end = at + kFloatRoom;
  auto res = std::to_chars(at, end, value, std::chars_format::general, 6);
  if (!std::isnan(value) && !readsBack(at, res.ptr, value))
    res = std::to_chars(at, end, value, std::chars_format::general, 9);
  return res.ptr;
}

char* formatDouble(char* at, double value, bool fixedWhenIntegral) {
  char* const end = at + kDoubleRoom;
  std::to_chars_result res;
  if (fixedWhenIntegral && value >= -2147483648.0 && value <= 2147483647.0 && value == std::trunc(value)) {
    res = std::to_chars(at, end, value, std::chars_format::fixed, 1);
  } else {
    res = std::to_chars(at, end, value, std::chars_format::general, 16);
    if (!std::isnan(value) && !readsBack(at, res.ptr, value))
      res = std::to_chars(at, end, value, std::chars_format::general, 17);
  }
  return res.ptr;
}

void appendInt(std::string& out, int value) {
  char buf[kIntRoom];
  out.append(buf, formatInt(buf, value));
}

void appendFloat(std::string& out, float value) {
  char buf[kFloatRoom];
  out.append(buf, formatFloat(buf, value));
}

void appendDouble(std::string& out, double value, bool fixedWhenIntegral) {
  char buf[kDoubleRoom];
  out.append(buf, formatDouble(buf, value, fixedWhenIntegral));
}

}  // namespace zem
