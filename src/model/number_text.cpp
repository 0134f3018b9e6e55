#include "model/number_text.hpp"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zem {
namespace {

locale_t makeNumericLocale() { return newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr)); }

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Exact for decimal texts of at most 15 significant digits and small scales:
// the mantissa and the power of ten are exact doubles and one division or
// multiplication rounds correctly. Returns false when the text needs the full
// conversion.
bool readSimpleDouble(std::string_view text, double& out) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::uint64_t mantissa = 0;
  int digits = 0, scale = 0;
  bool any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    any = true;
    if (mantissa == 0 && text[i] == '0') continue;
    if (++digits > 15) return false;
    mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      any = true;
      --scale;
      if (mantissa == 0 && text[i] == '0') continue;
      if (++digits > 15) return false;
      mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
    }
  }
  if (!any) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
    if (i >= text.size()) return false;
    int exponent = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      if (exponent > 1000) return false;
      exponent = exponent * 10 + (text[i] - '0');
    }
    scale += expNegative ? -exponent : exponent;
  }
  if (i != text.size()) return false;
  double value = static_cast<double>(mantissa);
  if (mantissa == 0) {
    value = 0.0;
  } else if (scale < 0) {
    if (-scale > 22) return false;
    value /= kExactPowers[-scale];
  } else if (scale > 0) {
    if (scale > 22) return false;
    value *= kExactPowers[scale];
  }
  out = negative ? -value : value;
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
  if (readSimpleDouble(text, r.value)) return r;
  // strtod_l under the "C" locale decides the value and its range error.
  std::string copy(text);
  char* end = nullptr;
  errno = 0;
  r.value = strtod_l(copy.c_str(), &end, static_cast<locale_t>(numericLocale()));
  r.rangeError = errno == ERANGE;
  return r;
}

IntReading readInt(std::string_view text) {
  IntReading r;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) {
      r.rangeError = true;
      magnitude = limit;
      // Like strtol, keep consuming digits but stay clamped.
      for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      }
      break;
    }
  }
  r.value = static_cast<int>(negative ? -magnitude : magnitude);
  return r;
}

void appendInt(std::string& out, int value) {
  char buf[16];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, res.ptr);
}

void appendFloat(std::string& out, float value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
  if (!std::isnan(value) && !readsBack(buf, res.ptr, value))
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 9);
  out.append(buf, res.ptr);
}

void appendDouble(std::string& out, double value, bool fixedWhenIntegral) {
  char buf[400];
  std::to_chars_result res;
  if (fixedWhenIntegral && value >= -2147483648.0 && value <= 2147483647.0 && value == std::trunc(value)) {
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 1);
  } else {
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 16);
    if (!std::isnan(value) && !readsBack(buf, res.ptr, value))
      res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
  }
  out.append(buf, res.ptr);
}

}  // namespace zem
