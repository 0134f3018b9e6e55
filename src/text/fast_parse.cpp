#include "text/fast_parse.hpp"

#include <cstring>
#include <new>

#include "model/named_nodes.hpp"
#include "model/number_text.hpp"
#include "model/values.hpp"
#include "text/byte_words.hpp"
#include "text/char_class.hpp"
#include "text/token.hpp"
#include "text/zem_parser.hpp"

namespace zem {
namespace {

// The engine's stack holds two entries for the start, one per open section
// and at most four for the deepest construct in a section. Files nested near
// that limit are left to the engine, which alone knows where it overflows.
constexpr std::size_t kNestingLimit = kParseStackLimit - 10;

constexpr std::array<bool, 256> kWordByte = [] {
  std::array<bool, 256> t{};
  for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = isWordByte(static_cast<unsigned char>(c));
  return t;
}();

using byte_words::atLeast;
using byte_words::equalBytes;
using byte_words::firstFlagged;
using byte_words::kOnes;
using byte_words::load;
using byte_words::zeroBytes;

constexpr std::uint64_t kEightBlanks = kOnes * ' ';

// Flags the bytes that are not digits: byte ^ '0' is below 10 for digits only.
constexpr std::uint64_t nonDigits(std::uint64_t word) { return atLeast(word ^ (kOnes * '0'), 10); }
// Flags the bytes that do not continue an identifier: (byte | 0x20) ^ 0x60
// is 1 to 26 for letters only.
constexpr std::uint64_t nonWordBytes(std::uint64_t word) {
  const std::uint64_t folded = (word | (kOnes * 0x20)) ^ (kOnes * 0x60);
  const std::uint64_t nonLetters = zeroBytes(folded) | atLeast(folded, 27);
  return nonLetters & nonDigits(word) & ~equalBytes(word, '_');
}

static_assert([] {
  for (unsigned c = 0; c < 256; ++c) {
    const std::uint64_t word = kOnes * c;
    if ((nonDigits(word) == 0) != isDigitChar(static_cast<int>(c))) return false;
    if ((nonWordBytes(word) == 0) != isWordByte(static_cast<unsigned char>(c))) return false;
  }
  return true;
}());

// The first character at or after p that `flags` marks, or null when there
// is none in the whole words before end.
template <std::uint64_t (*flags)(std::uint64_t)>
const unsigned char* findFlagged(const unsigned char*& p, const unsigned char* end) {
  for (; end - p >= 8; p += 8) {
    const std::uint64_t found = flags(load(p));
    if (found != 0) return p + firstFlagged(found);
  }
  return nullptr;
}

// Without a branch per character: a loop exit per character is a mispredicted
// branch per token.
const unsigned char* skipWordBytes(const unsigned char* p, const unsigned char* end) {
  if (const unsigned char* stop = findFlagged<nonWordBytes>(p, end)) return stop;
  while (p < end && kWordByte[*p]) ++p;
  return p;
}

// The end of a text that closes with `close` on its own line, or null when
// the text is not closed before a newline or the end of the window.
const unsigned char* findClose(const unsigned char* p, const unsigned char* end, unsigned char close) {
  for (; end - p >= 8; p += 8) {
    const std::uint64_t word = load(p);
    const std::uint64_t found = equalBytes(word, close) | equalBytes(word, '\n');
    if (found != 0) {
      p += firstFlagged(found);
      return *p == close ? p : nullptr;
    }
  }
  for (; p < end; ++p) {
    if (*p == close) return p;
    if (*p == '\n') return nullptr;
  }
  return nullptr;
}

// The number the first n (0 to 8) bytes of a little-endian word spell, all
// of them digits: eight digits are combined in three steps, pairs, then
// fours, then the two halves. Bytes past the digits are shifted out before
// any step (in two moves, so that n = 0 needs no shift by 64); the
// subtraction before that cannot disturb the digits, since its borrows only
// run towards the bytes that go.
constexpr std::uint64_t digitsValue(std::uint64_t word, unsigned n) {
  const unsigned shift = 4 * (8 - n);
  std::uint64_t v = ((word - kOnes * '0') << shift) << shift;
  v = v * 10 + (v >> 8);
  constexpr std::uint64_t kPairs = 0x000000FF000000FFull;
  return (((v & kPairs) * (100 + (1000000ull << 32))) + (((v >> 16) & kPairs) * (1 + (10000ull << 32)))) >> 32;
}

static_assert([] {
  if constexpr (!byte_words::kLittleEndian) return true;
  // "12345678" with a trailing byte run that is no digit at all.
  const std::uint64_t word = 0x3837363534333231ull;
  std::uint64_t expected = 0;
  for (unsigned n = 0; n <= 8; expected = expected * 10 + ++n)
    if (digitsValue(n == 8 ? word : (word & ((1ull << (8 * n)) - 1)) | (0xFFull << (8 * n)), n) != expected)
      return false;
  return digitsValue(0x3030303030303939ull, 2) == 99 && digitsValue(0x3939393939393939ull, 8) == 99999999;
}());

constexpr std::uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// Skips the digits at p, eight at a time, and reads them on the way: the
// mantissa gains them (wrapping past 19 digits, which the caller does not
// trust) and `count` counts them.
[[gnu::always_inline]] inline const unsigned char* takeDigits(const unsigned char* p, const unsigned char* end,
                                                              std::uint64_t& mantissa, unsigned& count) {
  if constexpr (byte_words::kLittleEndian) {
    for (; end - p >= 8; p += 8) {
      const std::uint64_t word = load(p);
      const std::uint64_t stops = nonDigits(word);
      const unsigned n = stops != 0 ? firstFlagged(stops) : 8;
      mantissa = mantissa * kPowersOfTen[n] + digitsValue(word, n);
      count += n;
      if (n < 8) return p + n;
    }
  }
  for (; p < end && isDigitChar(*p); ++p, ++count) mantissa = mantissa * 10 + (*p - '0');
  return p;
}

std::string_view viewOf(const unsigned char* begin, const unsigned char* end) {
  return {reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin)};
}

}  // namespace

FastParse::FastParse(CzemParser& parser) : parser_(parser), input_(parser.in()) {
  pos_ = input_.cursor();
  end_ = input_.limit();
  open_.reserve(16);
}

FastParse::~FastParse() = default;

// ---- scanner -----------------------------------------------------------------

SourcePoint FastParse::tokenPlace() const {
  return tokenStart_ != nullptr ? placeOf(tokenStart_) : parser_.tokenStart();
}

void FastParse::resolveLineEnd() {
  if (markAt_ == nullptr) return;
  if (markNewlines_ == 0)
    lineEnd_ = {input_.line(), input_.column() + static_cast<std::uint32_t>(markAt_ - input_.cursor()) + 1};
  else
    lineEnd_ = {input_.line() + markNewlines_, static_cast<std::uint32_t>(markAt_ - markLineStart_) + 1};
  markAt_ = nullptr;
}

// A mark still pending is resolved first: its place depends on the counters
// the input holds before this call.
void FastParse::syncInput(const unsigned char* at) {
  resolveLineEnd();
  input_.setCursor(at);
  input_.newlinesConsumed(newlines_, lineStart_, prevLineStart_);
  newlines_ = 0;
}

void FastParse::keepHeldText() {
  if (holding_ && held_.data() != heldCopy_.data()) {
    heldCopy_.assign(held_);
    held_ = heldCopy_;
  }
}

bool FastParse::refillWindow() {
  syncInput(pos_);
  keepHeldText();
  ++generation_;
  const bool more = input_.refill();
  pos_ = input_.cursor();
  end_ = input_.limit();
  return more;
}

// Leaves the token at `start` (one that crosses the window's end, or one
// that fails) to the engine's lexer, which reads across windows and keeps
// every counter itself.
void FastParse::slowToken(const unsigned char* start) {
  if (input_.lineEndsKept()) {
    // That lexer reads in text mode only: give up.
    neededLexer_ = true;
    token_ = kTokInvalid;
    text_ = {};
    tokenStart_ = nullptr;
    pos_ = start;
    return;
  }
  syncInput(start);
  keepHeldText();
  ++generation_;
  TokenText text{nullptr, 0, {}, {}};
  number_.plain = false;
  token_ = parser_.yylex(&text);
  text_ = token_ >= kTokInteger && token_ <= kTokFilename ? text.view() : std::string_view();
  tokenStart_ = nullptr;
  pos_ = input_.cursor();
  end_ = input_.limit();
}

void FastParse::scan() {
  const unsigned char* p = pos_;
  for (;;) {
    const unsigned char* const end = end_;
    std::uint8_t k = kChBlank;
    while (p < end) {
      k = kCharClass[*p];
      if (k == kChBlank) {
        ++p;
        // Longer runs of blanks (indentation above all) go eight at a time.
        if (end - p >= 8 && *p == ' ') {
          std::uint64_t others;
          while ((others = load(p) ^ kEightBlanks) == 0 && end - p >= 16) p += 8;
          // Eight blanks just before the end leave the last one to the loop.
          p += firstFlagged(others | byte_words::kLastByteFlag);
        }
      } else if (k == kChNewline) {
        carriageReturns_ += p[-1] == '\r';
        ++p;
        ++newlines_;
        prevLineStart_ = lineStart_;
        lineStart_ = p;
      } else {
        break;
      }
    }
    if (p == end) {
      pos_ = p;
      if (!refillWindow()) {
        token_ = kTokEnd;
        text_ = {};
        tokenStart_ = nullptr;
        return;
      }
      p = pos_;
      continue;
    }
    const unsigned char* q = p + 1;
    switch (k) {
      case kChLetter: {
        q = skipWordBytes(q, end);
        if (q == end) break;
        text_ = viewOf(p, q);
        token_ = identifierCode(text_);
        ++tokenTexts_;
        tokenStart_ = p;
        pos_ = q;
        return;
      }
      case kChDigit:
      case kChPoint: {
        bool real = k == kChPoint;
        // The digits are read while they are skipped: the value of a plain
        // decimal is then known without reading its text again.
        std::uint64_t mantissa = 0;
        unsigned digits = 0;
        if (real) {
          if (q == end || !isDigitChar(*q)) break;
        } else {
          q = takeDigits(p, end, mantissa, digits);
          if (q == end) break;
          // Integers and reals come mixed: no branch on the point.
          real = *q == '.';
          q += real;
        }
        const unsigned wholeDigits = digits;
        q = takeDigits(q, end, mantissa, digits);
        if (q == end) break;
        number_ = {mantissa, digits, digits - wholeDigits, true};
        if (*q == 'e' || *q == 'E') {
          number_.plain = false;
          real = true;
          ++q;
          if (q < end && (*q == '+' || *q == '-')) ++q;
          if (q == end || !isDigitChar(*q)) break;
          std::uint64_t exponent = 0;  // a number with one is converted from its text
          unsigned exponentDigits = 0;
          q = takeDigits(q, end, exponent, exponentDigits);
          if (q == end) break;
        }
        text_ = viewOf(p, q);
        token_ = real ? kTokReal : kTokInteger;
        ++tokenTexts_;
        tokenStart_ = p;
        pos_ = q;
        return;
      }
      case kChQuote:
      case kChBraceOpen:
      case kChNumberSign:
      case kChBar: {
        const unsigned char closer = k == kChBraceOpen ? '}' : *p;
        const unsigned char* close = findClose(q, end, closer);
        const unsigned char* after = close != nullptr ? close + 1 : nullptr;
        if (k == kChQuote && (close == nullptr || after == end || *after == '\'')) {
          // A doubled apostrophe or a newline: the text needs a copy. (The
          // character after the closing one must be in the window to tell.)
          after = takeLongText(q, end, '\'');
          if (after == nullptr) break;
          text_ = textCopy_;
        } else if (k == kChBraceOpen && close == nullptr) {
          after = takeLongText(q, end, '}');
          if (after == nullptr) break;
          text_ = textCopy_;
        } else {
          if (close == nullptr) break;
          text_ = viewOf(q, close);
        }
        token_ = k == kChQuote        ? kTokString
                 : k == kChBraceOpen  ? kTokBraced
                 : k == kChNumberSign ? kTokDateTime
                                      : kTokFilename;
        ++tokenTexts_;
        tokenStart_ = p;
        pos_ = after;
        return;
      }
      case kChSlash:
        if (q == end) break;
        if (*q == '*') {
          const unsigned char* after = skipBlockComment(q + 1, end);
          if (after == nullptr) break;
          p = after;
          continue;
        }
        if (*q != '/') break;
        ++q;
        [[fallthrough]];
      case kChSemicolon: {
        const void* newline = std::memchr(q, '\n', static_cast<std::size_t>(end - q));
        if (newline == nullptr) break;
        ++comments_;
        p = static_cast<const unsigned char*>(newline);
        continue;
      }
      case kChOther:
      case kChUnderscore:
        token_ = *p;
        text_ = {};
        tokenStart_ = p;
        pos_ = q;
        return;
      default:
        break;
    }
    pos_ = p;
    slowToken(p);
    return;
  }
}

// Skips a block comment whose opener ends before p; inner openers nest. Null
// when the comment does not close in the window: nothing is counted then.
const unsigned char* FastParse::skipBlockComment(const unsigned char* p, const unsigned char* end) {
  unsigned depth = 1;
  std::uint32_t closed = 0;
  std::uint32_t newlines = 0;
  std::uint64_t carriageReturns = 0;
  const unsigned char* lineStart = lineStart_;
  const unsigned char* prevLineStart = prevLineStart_;
  while (p < end) {
    const unsigned char c = *p++;
    if (c == '\n') {
      ++newlines;
      carriageReturns += p[-2] == '\r';
      prevLineStart = lineStart;
      lineStart = p;
    } else if (c == '*' && p < end && *p == '/') {
      ++p;
      ++closed;
      if (--depth == 0) {
        comments_ += closed;
        newlines_ += newlines;
        carriageReturns_ += carriageReturns;
        lineStart_ = lineStart;
        prevLineStart_ = prevLineStart;
        return p;
      }
    } else if (c == '/' && p < end && *p == '*') {
      ++p;
      ++depth;
    }
  }
  return nullptr;
}

// Reads a quoted string (close '\'') or a braced text (close '}') that holds
// newlines or doubled apostrophes into textCopy_: a doubled apostrophe stands
// for one, newlines stay in strings and are dropped from braced texts, and the
// CR of a kept CR LF pair is no character of either. Returns the position
// after the closing character, or null when the text does not end in the
// window: nothing is counted then.
const unsigned char* FastParse::takeLongText(const unsigned char* p, const unsigned char* end, unsigned char close) {
  const bool keptPairs = input_.lineEndsKept();
  std::uint32_t newlines = 0;
  std::uint64_t carriageReturns = 0;
  const unsigned char* lineStart = lineStart_;
  const unsigned char* prevLineStart = prevLineStart_;
  textCopy_.clear();
  for (;;) {
    const unsigned char* const run = p;
    while (p < end && *p != close && *p != '\n') ++p;
    if (p == end) return nullptr;
    if (*p == '\n') {
      const bool pair = p[-1] == '\r';
      carriageReturns += pair;
      // In a run that ends in a newline, a CR before it is in the run.
      textCopy_.append(reinterpret_cast<const char*>(run),
                       static_cast<std::size_t>(p - run) - (keptPairs && pair && p != run ? 1 : 0));
      if (close == '\'') textCopy_ += '\n';
      ++newlines;
      prevLineStart = lineStart;
      lineStart = ++p;
      continue;
    }
    textCopy_.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
    ++p;
    if (close == '\'') {
      if (p == end) return nullptr;
      if (*p == '\'') {
        textCopy_ += '\'';
        ++p;
        continue;
      }
    }
    newlines_ += newlines;
    carriageReturns_ += carriageReturns;
    lineStart_ = lineStart;
    prevLineStart_ = prevLineStart;
    return p;
  }
}

// ---- parser ------------------------------------------------------------------

bool FastParse::run() {
  bool done = false;
  try {
    done = parseFile();
  } catch (const std::bad_alloc&) {
    done = false;
  }
  if (done) {
    syncInput(pos_);
    // Each CR of a CR LF pair is no character of its own.
    if (input_.lineEndsKept()) input_.dropCharacters(carriageReturns_);
    parser_.addComments(comments_);
    parser_.addTokenTexts(tokenTexts_);
    // The engine says where a check failed.
    done = !parser_.hasError();
  }
  if (!done) {
    discardPartialTree();
    return false;
  }
  try {
    root_->fitLoadedLists(*parser_.arena_);
  } catch (const std::bad_alloc&) {
    // The lists stay as they grew.
  }
  parser_.root_ = root_;
  root_ = nullptr;
  return true;
}

void FastParse::discardPartialTree() {
  // Every node made so far is in the tree under the root, an open section,
  // the open line's owner or a value of the open line, none of which has a
  // parent yet unless running out of memory stopped it half way in. Going
  // from the values up, a node that has a parent goes with it.
  auto discard = [](CzemNode* node) {
    if (node != nullptr && node->parent() == nullptr) destroyNode(node);
  };
  for (CzemNode* node : parser_.openLine_) discard(node);
  parser_.openLine_.clear();
  discard(lineOwner_);
  lineOwner_ = nullptr;
  for (auto section = open_.rbegin(); section != open_.rend(); ++section) discard(*section);
  open_.clear();
  discard(root_);
  root_ = nullptr;
}

bool FastParse::parseFile() {
  root_ = parser_.makeTargetList();
  next();
  for (;;) {
    // A check that recorded an error (a data file using "()", a template
    // with a repeated name) fails the file: no need to read on.
    if (parser_.hasError()) return false;
    if (open_.empty()) {
      if (token_ == '[') {
        if (!openSection()) return false;
        continue;
      }
      return token_ == kTokEnd;
    }
    CzemSection* section = open_.back();
    switch (token_) {
      case kTokEndSect: {
        section->setSpanEnd(placeOf(pos_));
        CzemTargetList* parent = open_.size() == 1 ? root_ : open_[open_.size() - 2];
        // Appended while the look-ahead is still unread, as the engine does.
        parser_.appendSection(parent, section);
        open_.pop_back();
        next();
        break;
      }
      case '[':
        if (open_.size() >= kNestingLimit || !openSection()) return false;
        break;
      case kTokIdent:
      case '(':
        if (!keywordLine(section)) return false;
        break;
      case kTokDefault:
        if (!defaultLine(section)) return false;
        break;
      default:
        return false;
    }
  }
}

bool FastParse::openSection() {
  const SourcePoint start = tokenPlace();
  next();
  if (token_ != kTokIdent) return false;
  hold(text_);
  next();
  std::uint32_t flags = 0;
  if (token_ == '(') {
    next();
    if (token_ != ')') return false;
    parser_.templateMarkerCheck();
    flags = kMayRepeat;
    next();
  }
  if (token_ != ']') return false;
  open_.push_back(parser_.makeSection(release(), flags));
  open_.back()->setSpanStart(start);
  next();
  if (token_ == kTokBraced) {
    open_.back()->setAuxText(text_);
    next();
  }
  return true;
}

bool FastParse::keywordLine(CzemSection* section) {
  const SourcePoint start = tokenPlace();
  std::uint32_t flags = 0;
  std::string_view name;
  if (token_ == kTokIdent) {
    hold(text_);
    next();
    if (token_ == '(') {
      next();
      if (token_ != ')') return false;
      parser_.templateMarkerCheck();
      flags = kMayRepeat;
      next();
    }
    name = release();
  } else {
    // "()" standing alone as the name.
    next();
    if (token_ != ')') return false;
    parser_.templateMarkerCheck();
    flags = kMayRepeat;
    next();
  }
  lineOwner_ = parser_.makeKeyword(name, flags);
  lineOwner_->setSpanStart(start);
  return valueList(section, false);
}

bool FastParse::defaultLine(CzemSection* section) {
  const SourcePoint start = tokenPlace();
  next();
  if (token_ != '(') return false;
  next();
  if (token_ == kTokIdent) {
    hold(text_);
    next();
    if (token_ != ')') return false;
    lineOwner_ = parser_.makeDefaultDef(release(), 0);
  } else if (token_ == ')') {
    lineOwner_ = parser_.makeDefaultDef({}, kMayRepeat);
  } else {
    return false;
  }
  lineOwner_->setSpanStart(start);
  next();
  return valueList(section, true);
}

bool FastParse::valueList(CzemSection* section, bool defaults) {
  if (token_ == kTokBraced) {
    lineOwner_->setAuxText(text_);
    next();
  }
  if (token_ != '=') return false;
  markLineEnd();
  next();
  parser_.openLineArenaOnly_ = true;
  for (;;) {
    if (!value(defaults)) return false;
    if (token_ != ',') break;
    markLineEnd();
    next();
  }
  auto* owner = lineOwner_;
  // The line's owner takes its end from the parser, where the engine's lexer
  // keeps the end of the token before its look-ahead.
  resolveLineEnd();
  parser_.previousTokenEnd_ = lineEnd_;
  if (defaults)
    parser_.appendDefaultDef(section, static_cast<CzemDefaultDef*>(owner));
  else
    parser_.appendKeyword(section, owner);
  lineOwner_ = nullptr;
  return true;
}

bool FastParse::value(bool defaults) {
  std::vector<CzemNode*>& line = parser_.openLine_;
  CzemNode* node = nullptr;
  // A value of a class whose only memory is its texts: whether it holds
  // nothing but its arena place is asked of it without a virtual call.
  CzemParam* plain = nullptr;
  switch (token_) {
    case kTokInteger:
    case kTokReal:
    case '+':
    case '-': {
      std::string_view text = text_;
      if (token_ == '+' || token_ == '-') {
        const char sign = static_cast<char>(token_);
        const unsigned char* signAt = tokenStart_;
        const std::uint32_t generation = generation_;
        next();
        if (token_ != kTokInteger && token_ != kTokReal) return false;
        if (signAt != nullptr && tokenStart_ == signAt + 1 && generation == generation_) {
          // The sign stands right before the digits in the window.
          text = viewOf(signAt, signAt + 1 + text_.size());
        } else {
          signedNumber_.assign(1, sign);
          signedNumber_ += text_;
          text = signedNumber_;
        }
      }
      bool ok = true;
      const bool negative = text[0] == '-';
      if (token_ == kTokInteger)
        plain = number_.plain && number_.digits <= 18 ? parser_.makeInt(text, number_.mantissa, negative)
                                                      : parser_.makeInt(text, ok);
      else if (double number = 0; plainReal(negative, number))
        plain = parser_.makeReal(text, number);
      else
        plain = parser_.makeReal(text, ok);
      line.push_back(node = plain);
      if (!ok) return false;
      break;
    }
    case kTokBoolean:
      line.push_back(node = plain = parser_.makeBool(text_));
      break;
    case kTokString:
      line.push_back(node = parser_.makeStringOrClob(text_));
      break;
    case kTokDateTime:
      line.push_back(node = plain = parser_.makeDateTime(text_));
      break;
    case kTokFilename:
      line.push_back(node = parser_.makeFilename(text_));
      break;
    case '%':
      next();
      if (token_ != kTokInteger && token_ != kTokIdent) return false;
      line.push_back(node = plain = parser_.makeSubstit(text_));
      break;
    case kTokBraced:
      // A braced text alone is a value of unknown kind; no second text follows.
      line.push_back(parser_.makeUnknown(text_));
      parser_.openLineArenaOnly_ = false;  // its braced text is its own
      markLineEnd();
      next();
      return true;
    default:
      // An empty place in the list: it holds no text at all.
      line.push_back(defaults ? parser_.makeDefaultPar() : parser_.makeUndefined());
      return true;
  }
  markLineEnd();
  next();
  if (token_ == kTokBraced) {
    node->setAuxText(text_);
    markLineEnd();
    next();
  }
  if (parser_.openLineArenaOnly_)
    parser_.openLineArenaOnly_ = plain != nullptr ? plain->textsArenaOnly() : node->arenaOnly();
  return true;
}

// A plain decimal of at most 19 digits has an unwrapped mantissa; whether its
// quotient is exact decides the rest.
bool FastParse::plainReal(bool negative, double& value) const {
  double magnitude = 0;
  if (!number_.plain || number_.digits > 19 || !exactDecimal(number_.mantissa, number_.fraction, magnitude))
    return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

// ---- the parser's entry ----------------------------------------------------------

bool CzemParser::parseFast() {
  // Files with CR LF line ends read fastest as they are: the reader counts
  // the pairs. A file it cannot take that way gets a second fast reading in
  // text mode, which leaves the rare tokens to the engine's lexer.
  bool again = true;
  for (const bool keepLineEnds : {true, false}) {
    if (!again) break;
    if (keepLineEnds && !in().keepLineEnds()) continue;
    {
      FastParse reader(*this);
      if (reader.run()) {
        reader_ = keepLineEnds ? kFastReaderKeepingLineEnds : kFastReader;
        return true;
      }
      // Anything else than a token for the engine's lexer fails the text
      // mode reading the same way.
      again = reader.neededLexer();
    }
    startOver();
    if (!in().rewind()) {
      // The source could not go back: nothing is left to read.
      setError("Failed to extend buffer");
      return false;
    }
  }
  return false;
}

}  // namespace zem
