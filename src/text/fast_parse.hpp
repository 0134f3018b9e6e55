// The fast reader of well-formed parameter files: a recursive-descent parser
// over a scanner that walks the input's window directly. It builds the tree
// with the parser's own node makers, in the order the table engine would, and
// keeps the same counters. Anything it does not plainly accept (any error, a
// file nested near the engine's limit) makes it give up; the parser then
// starts over with the table engine, which decides and reports. A token that
// crosses a window boundary is left to the engine's lexer, so the counters
// stay exact whoever reads; when the input keeps its CR LF line ends (which
// that lexer does not read) the fast reader gives up instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/source_span.hpp"
#include "text/input.hpp"

namespace zem {

class CzemParser;
class CzemKeyword;
class CzemSection;
class CzemTargetList;

class FastParse {
 public:
  explicit FastParse(CzemParser& parser);
  ~FastParse();
  FastParse(const FastParse&) = delete;
  FastParse& operator=(const FastParse&) = delete;

  // Reads the whole input. True when the tree is built: it is the parser's
  // root and the counters are final. False when the reader gave up: its
  // partial tree is gone and the counters are to be reset by the caller.
  bool run();
  // Whether the reader gave up on a token that only the engine's lexer reads.
  bool neededLexer() const { return neededLexer_; }

 private:
  bool parseFile();
  bool openSection();
  bool keywordLine(CzemSection* section);
  bool defaultLine(CzemSection* section);
  // The values after '=' up to the end of the line, then the line's owner
  // joins `section`.
  bool valueList(CzemSection* section, bool defaults);
  bool value(bool defaults);
  void discardPartialTree();

  // Reads the next token into token_, text_ and tokenStart_. Separators
  // after at most one blank are taken on the spot: they are a third of the
  // tokens of a file.
  void next() {
    const unsigned char* p = pos_;
    if (end_ - p >= 2) {
      if (*p == ' ') ++p;
      if (*p == ',' || *p == '=') {
        token_ = *p;
        text_ = {};
        tokenStart_ = p;
        pos_ = p + 1;
        return;
      }
    }
    scan();
  }
  void scan();
  void slowToken(const unsigned char* start);
  // The place of a window position at the scanner's present line count.
  SourcePoint placeOf(const unsigned char* p) const {
    if (newlines_ == 0) return {input_.line(), input_.column() + static_cast<std::uint32_t>(p - input_.cursor()) + 1};
    return {input_.line() + newlines_, static_cast<std::uint32_t>(p - lineStart_) + 1};
  }
  // Where the current token starts; a token the engine's lexer read knows its own place.
  SourcePoint tokenPlace() const;
  // Remembers that the line read so far ends after the current token. Only
  // the last mark of a line counts, so it stays a window position until the
  // line ends or the window changes.
  void markLineEnd() {
    markAt_ = pos_;
    markNewlines_ = newlines_;
    markLineStart_ = lineStart_;
  }
  void resolveLineEnd();
  const unsigned char* skipBlockComment(const unsigned char* p, const unsigned char* end);
  const unsigned char* takeLongText(const unsigned char* p, const unsigned char* end, unsigned char close);
  bool refillWindow();
  void syncInput(const unsigned char* at);
  void keepHeldText();
  void hold(std::string_view text) {
    held_ = text;
    holding_ = true;
  }
  std::string_view release() {
    holding_ = false;
    return held_;
  }

  CzemParser& parser_;
  CyyInput& input_;

  // The window and the scanner's place in it.
  const unsigned char* pos_ = nullptr;
  const unsigned char* end_ = nullptr;
  // Counts every window change: a pointer into the window is only comparable
  // to another of the same generation.
  std::uint32_t generation_ = 0;
  // Newlines passed since the input's counters were last told.
  std::uint32_t newlines_ = 0;
  const unsigned char* lineStart_ = nullptr;
  const unsigned char* prevLineStart_ = nullptr;
  std::uint32_t comments_ = 0;
  std::uint64_t carriageReturns_ = 0;  // CRs right before a newline between tokens
  std::uint32_t tokenTexts_ = 0;

  // The current token: its code, its text and, for a token the scanner read
  // itself, its first character in the window (null otherwise).
  int token_ = 0;
  std::string_view text_;
  const unsigned char* tokenStart_ = nullptr;
  // The digits of a number token the scanner read itself: plain when it has
  // no exponent. Its mantissa wraps beyond 19 digits.
  struct Digits {
    std::uint64_t mantissa;
    unsigned digits, fraction;
    bool plain;
  };
  Digits number_{0, 0, 0, false};
  // The value of the current real token when its digits give it exactly;
  // false when its text must be converted.
  bool plainReal(bool negative, double& value) const;

  // A name read before the tokens that decide its node. It may point into
  // the window, so a window change copies it first.
  std::string_view held_;
  bool holding_ = false;
  std::string heldCopy_;
  std::string signedNumber_;
  std::string textCopy_;  // the text of the current token when it is no view of the window

  // The last line-end mark (see markLineEnd), and its place once resolved.
  const unsigned char* markAt_ = nullptr;
  std::uint32_t markNewlines_ = 0;
  const unsigned char* markLineStart_ = nullptr;
  SourcePoint lineEnd_{};

  CzemTargetList* root_ = nullptr;
  std::vector<CzemSection*> open_;  // sections not yet ended, outermost first
  CzemKeyword* lineOwner_ = nullptr;
  bool neededLexer_ = false;  // the keyword or default definition whose values are being read
};

}  // namespace zem
