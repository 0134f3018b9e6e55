// Character classes of the parameter-file lexer: one table lookup tells what
// a character may start or continue.
#pragma once

#include <array>
#include <cstdint>

namespace zem {

enum CharClass : std::uint8_t {
  kChOther = 0,   // returned as a token of its own
  kChBlank,       // white space other than newline (blank, tab, VT, FF, CR)
  kChNewline,     // LF
  kChLetter,      // A-Z a-z: starts an identifier
  kChDigit,       // 0-9: starts a number
  kChUnderscore,  // continues an identifier only
  kChPoint,       // starts a number
  kChSemicolon,   // line comment
  kChSlash,       // comment or token '/'
  kChBraceOpen,   // braced text
  kChQuote,       // quoted string
  kChNumberSign,  // date-time
  kChBar,         // file name
  kChNul,         // never valid outside texts
};

inline constexpr std::array<std::uint8_t, 256> kCharClass = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = kChLetter;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = kChLetter;
  for (int c = '0'; c <= '9'; ++c) t[c] = kChDigit;
  for (int c : {' ', '\t', '\v', '\f', '\r'}) t[c] = kChBlank;
  t['\n'] = kChNewline;
  t['_'] = kChUnderscore;
  t['.'] = kChPoint;
  t[';'] = kChSemicolon;
  t['/'] = kChSlash;
  t['{'] = kChBraceOpen;
  t['\''] = kChQuote;
  t['#'] = kChNumberSign;
  t['|'] = kChBar;
  t[0] = kChNul;
  return t;
}();

constexpr bool isDigitChar(int c) { return c >= '0' && c <= '9'; }
// Characters that continue an identifier.
constexpr bool isWordByte(unsigned char c) {
  const std::uint8_t k = kCharClass[c];
  return k == kChLetter || k == kChDigit || k == kChUnderscore;
}

}  // namespace zem
