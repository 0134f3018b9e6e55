#include "clob/clob_lexer.hpp"

#include <array>
#include <cstdint>
#include <cstring>

namespace zem {
namespace {

// Character classes of CLOB items, as in the "C" locale: bytes of 0x80 and
// above are none of these.
enum : std::uint8_t { kSpace = 1, kDigit = 2, kLetter = 4 };
constexpr std::array<std::uint8_t, 256> kItemClass = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c : {' ', '\t', '\n', '\v', '\f', '\r'}) t[c] = kSpace;
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = kLetter;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = kLetter;
  return t;
}();

// A cursor over the CLOB text. Words and numbers are taken as the run of
// text they span; delimited items collect their text without the delimiters.
class ItemScanner {
 public:
  ItemScanner(std::string_view text, std::size_t at)
      : text_(text.data()), p_(text.data() + at), end_(text.data() + text.size()) {}

  std::size_t at() const { return static_cast<std::size_t>(p_ - text_); }
  bool atEnd() const { return p_ == end_; }
  char peek() const { return atEnd() ? '\0' : *p_; }
  // Whether the next character is of the class (false at the end).
  bool next(std::uint8_t itemClass) const {
    return !atEnd() && (kItemClass[static_cast<unsigned char>(*p_)] & itemClass) != 0;
  }
  void skipSpace() {
    while (next(kSpace)) ++p_;
  }
  void take() { ++p_; }
  void takeDigits() {
    while (next(kDigit)) ++p_;
  }
  void takeLetters() {
    while (next(kLetter)) ++p_;
  }

  // Digits, then an optional fraction and exponent. Returns the class, or 0
  // for a malformed number. The cursor stands on a digit, a sign or a point.
  int number() {
    if (peek() == '+' || peek() == '-') {
      take();
      if (peek() != '.' && !next(kDigit)) return 0;
    }
    takeDigits();
    int itemClass = kClobIntegerLiteral;
    if (peek() == '.') {
      take();
      if (!next(kDigit)) return 0;  // "1." and "+." are not numbers
      takeDigits();
      itemClass = kClobRealLiteral;
    }
    if (peek() == 'e' || peek() == 'E') {
      take();
      if (peek() == '+' || peek() == '-') take();
      if (!next(kDigit)) return 0;
      takeDigits();
      itemClass = kClobRealLiteral;
    }
    return itemClass;
  }

  // Text up to the closing `delimiter` into `item`, in runs; with `doubling`,
  // two delimiters in a row stand for one. The cursor stands on the opening
  // delimiter.
  bool delimited(char delimiter, bool doubling, std::string& item) {
    ++p_;
    for (;;) {
      const auto* close = static_cast<const char*>(std::memchr(p_, delimiter, static_cast<std::size_t>(end_ - p_)));
      if (close == nullptr) return false;
      const bool doubled = doubling && close + 1 != end_ && close[1] == delimiter;
      item.append(p_, static_cast<std::size_t>(close + (doubled ? 1 : 0) - p_));
      p_ = close + (doubled ? 2 : 1);
      if (!doubled) return true;
    }
  }

 private:
  const char* text_;  // the whole CLOB text
  const char* p_;     // the next character
  const char* end_;
};

}  // namespace

ClobLexeme lexClobItem(std::string_view clob, std::size_t position) {
  ClobLexeme lexeme;
  lexeme.next = position;
  if (position > clob.size()) return lexeme;

  ItemScanner scan(clob, position);
  scan.skipSpace();
  if (scan.atEnd()) return lexeme;  // only white space left

  const std::size_t begin = scan.at();
  const char c = scan.peek();
  int itemClass = 0;
  if (scan.next(kLetter)) {
    scan.takeLetters();
    itemClass = kClobWord;
  } else if (scan.next(kDigit) || c == '+' || c == '-' || c == '.') {
    itemClass = scan.number();
  } else if (c == '"') {
    if (scan.delimited('"', true, lexeme.text)) itemClass = kClobQuotedString;
  } else if (c == '|') {
    if (scan.delimited('|', false, lexeme.text)) itemClass = kClobBarredName;
  }
  if (itemClass == kClobWord || itemClass == kClobIntegerLiteral || itemClass == kClobRealLiteral)
    lexeme.text.append(clob.data() + begin, scan.at() - begin);  // the text is empty so far

  if (itemClass != 0) {
    scan.skipSpace();
    if (scan.atEnd() || scan.peek() == ',') {
      lexeme.outcome = ClobLexeme::kItem;
      lexeme.itemClass = itemClass;
      lexeme.next = scan.atEnd() ? scan.at() : scan.at() + 1;
      return lexeme;
    }
  }
  lexeme.outcome = ClobLexeme::kSyntaxError;
  lexeme.text.clear();
  return lexeme;
}

}  // namespace zem
