#include "clob/clob_lexer.hpp"

#include "text/char_class.hpp"

namespace zem {
namespace {

// Classification as in the "C" locale (bytes of 0x80 and above are none of
// these), from the file lexer's table: white space is its blanks and LF.
std::uint8_t classOf(char c) { return kCharClass[static_cast<unsigned char>(c)]; }
bool isSpace(char c) { return classOf(c) == kChBlank || classOf(c) == kChNewline; }
bool isDigit(char c) { return classOf(c) == kChDigit; }
bool isLetter(char c) { return classOf(c) == kChLetter; }

// A cursor over the CLOB text. Words and numbers are taken as the run of
// text they span; delimited items collect their text without the delimiters.
class ItemScanner {
 public:
  ItemScanner(std::string_view text, std::size_t at) : s_(text), i_(at) {}

  std::size_t at() const { return i_; }
  bool atEnd() const { return i_ >= s_.size(); }
  char peek() const { return atEnd() ? '\0' : s_[i_]; }
  void skipSpace() {
    while (!atEnd() && isSpace(s_[i_])) ++i_;
  }
  void take() { ++i_; }
  void takeDigits() {
    while (isDigit(peek())) ++i_;
  }
  void takeLetters() {
    while (isLetter(peek())) ++i_;
  }

  // Digits, then an optional fraction and exponent. Returns the class, or 0
  // for a malformed number. The cursor stands on a digit, a sign or a point.
  int number() {
    if (peek() == '+' || peek() == '-') {
      take();
      if (peek() != '.' && !isDigit(peek())) return 0;
    }
    takeDigits();
    int itemClass = kClobIntegerLiteral;
    if (peek() == '.') {
      take();
      if (!isDigit(peek())) return 0;  // "1." and "+." are not numbers
      takeDigits();
      itemClass = kClobRealLiteral;
    }
    if (peek() == 'e' || peek() == 'E') {
      take();
      if (peek() == '+' || peek() == '-') take();
      if (!isDigit(peek())) return 0;
      takeDigits();
      itemClass = kClobRealLiteral;
    }
    return itemClass;
  }

  // Text up to the closing `delimiter` into `item`, in runs; with `doubling`,
  // two delimiters in a row stand for one. The cursor stands on the opening
  // delimiter.
  bool delimited(char delimiter, bool doubling, std::string& item) {
    ++i_;
    for (;;) {
      const std::size_t close = s_.find(delimiter, i_);
      if (close == std::string_view::npos) return false;
      const bool doubled = doubling && close + 1 < s_.size() && s_[close + 1] == delimiter;
      item.append(s_.substr(i_, close + (doubled ? 1 : 0) - i_));
      i_ = close + (doubled ? 2 : 1);
      if (!doubled) return true;
    }
  }

 private:
  std::string_view s_;
  std::size_t i_;
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
  if (isLetter(c)) {
    scan.takeLetters();
    itemClass = kClobWord;
  } else if (isDigit(c) || c == '+' || c == '-' || c == '.') {
    itemClass = scan.number();
  } else if (c == '"') {
    if (scan.delimited('"', true, lexeme.text)) itemClass = kClobQuotedString;
  } else if (c == '|') {
    if (scan.delimited('|', false, lexeme.text)) itemClass = kClobBarredName;
  }
  if (itemClass == kClobWord || itemClass == kClobIntegerLiteral || itemClass == kClobRealLiteral)
    lexeme.text.assign(clob.substr(begin, scan.at() - begin));

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
