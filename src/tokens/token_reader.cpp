#include "tokens/token_reader.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <new>

#include "frame/error_state.hpp"
#include "tokens/token_codes.hpp"

using namespace zem::tokens;

namespace {

// Character classes of the reader, one table lookup each. Only ASCII letters
// are letters: the reader's classification is the "C" locale's.
enum : std::uint8_t { kSpace = 1, kLetter = 2, kDigit = 4, kWord = 8 };

constexpr std::array<std::uint8_t, 256> kClasses = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c : {' ', '\t', '\n', '\v', '\f', '\r'}) t[c] = kSpace;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = kLetter | kWord;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = kLetter | kWord;
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit | kWord;
  t['_'] = kWord;
  return t;
}();

bool is(int c, std::uint8_t classes) { return c >= 0 && (kClasses[static_cast<unsigned>(c)] & classes) != 0; }
// Function objects rather than functions, so that the run scanners inline them.
constexpr auto isSpace = [](unsigned char c) { return (kClasses[c] & kSpace) != 0; };
constexpr auto isWord = [](unsigned char c) { return (kClasses[c] & kWord) != 0; };
constexpr auto isDigitByte = [](unsigned char c) { return (kClasses[c] & kDigit) != 0; };
constexpr auto isLineEnd = [](unsigned char c) { return endsLine(c); };

constexpr std::size_t kLongestMessage = 64;

}  // namespace

int CzemTokenReader::open(const char* fileName, CzemTokenReader** out, std::size_t blockSize) {
  std::unique_ptr<TokenSource> source(new (std::nothrow) TokenSource(blockSize));
  if (source == nullptr) return zem::kErrFileInit;
  try {
    if (!source->open(fileName)) return zem::kErrFileOpen;
  } catch (const std::bad_alloc&) {
    return zem::kErrFileInit;
  }
  try {
    *out = new CzemTokenReader(std::move(source));
  } catch (const std::bad_alloc&) {
    return zem::kErrParserInit;
  }
  return 0;
}

CzemTokenReader::CzemTokenReader(std::unique_ptr<TokenSource> source) : source_(std::move(source)) {
  states_.push(ReaderState::kFile);
  text_.reserve(1024);
  message_.reserve(kLongestMessage);
}

int CzemTokenReader::next() {
  text_.clear();
  int code;
  try {
    code = step();
  } catch (const std::exception& failure) {
    record(failure.what());
    code = kTokenError;
  }
  if (source_->failed() && !readFailureReported_) {
    // The input ended early: what was read last may be cut, and nothing more can come.
    readFailureReported_ = true;
    states_.clear();
    record(kMsgReadFailed);
    return kTokenError;
  }
  return code;
}

const char* CzemTokenReader::error(int& line, int& column) const {
  line = hasError_ ? static_cast<int>(errorLine_) : 0;
  column = hasError_ ? static_cast<int>(errorColumn_) : 0;
  return hasError_ ? message_.c_str() : "";
}

void CzemTokenReader::tokenStart(int& line, int& column) const {
  line = static_cast<int>(tokenLine_);
  column = static_cast<int>(tokenColumn_);
}

int CzemTokenReader::step() {
  if (states_.empty()) return kTokenEnd;
  ReaderState state = states_.pop();
  for (;;) {
    switch (state) {
      case ReaderState::kFile:
      case ReaderState::kTop: {
        const int c = skipBlanks(true);
        if (c < 0) return kTokenEnd;
        if (c != '[') return fail(kMsgExpectedSection);
        states_.push(ReaderState::kTop);
        return sectionHeader();
      }
      case ReaderState::kBody: {
        const int c = skipBlanks(true);
        if (c == '[') {
          states_.push(ReaderState::kBody);
          return sectionHeader();
        }
        // EndSect belongs to the section's end state, below this one.
        if (is(c, kLetter) && !(c == 'E' && source_->lookingAt("ndSect", 6))) {
          states_.push(ReaderState::kBody);
          return keyword(c);
        }
        source_->unget(c);
        break;
      }
      case ReaderState::kEnd: {
        const int c = skipBlanks(true);
        if (c < 0) return kTokenEnd;
        if (c == 'E' && source_->lookingAt("ndSect", 6)) {
          source_->skip(6);
          return kTokenEndSect;
        }
        source_->unget(c);
        return fail(kMsgExpectedEndSect);
      }
      case ReaderState::kValue:
        return value();
      case ReaderState::kAfterValue: {
        const int c = skipBlanks(true);
        if (c == ',') {
          states_.push(ReaderState::kAfterValue);
          return value();
        }
        source_->unget(c);
        break;
      }
    }
    // Go on with the next state without returning.
    if (states_.empty()) return kTokenEnd;
    state = states_.pop();
  }
}

// Skips white space and comments; returns the first other character, consumed,
// or -1 at the end (also after a comment left open, which records its error).
int CzemTokenReader::skipBlanks(bool markToken) {
  int c;
  for (;;) {
    source_->takeWhile(isSpace, nullptr);
    c = source_->get();
    if (c == ';' || (c == '/' && source_->peek() == '/')) {
      source_->takeThrough(isLineEnd, nullptr);
      continue;
    }
    if (c == '/' && source_->peek() == '*') {
      source_->get();
      if (skipBlockComment()) continue;
      record(kMsgOpenBlockComment);
      c = -1;
    } else if (c == '{') {
      if (source_->takeThrough([](unsigned char ch) { return ch == '}'; }, nullptr) >= 0) continue;
      record(kMsgOpenBraceComment);
      c = -1;
    }
    break;
  }
  if (markToken) {
    tokenLine_ = source_->line();
    tokenColumn_ = source_->column() + (c < 0 ? 1 : 0);
  }
  return c;
}

bool CzemTokenReader::skipBlockComment() {
  for (;;) {
    if (source_->takeThrough([](unsigned char ch) { return ch == '*'; }, nullptr) < 0) return false;
    if (source_->peek() == '/') {
      source_->get();
      return true;
    }
  }
}

// The '[' is consumed.
int CzemTokenReader::sectionHeader() {
  source_->takeWhile(isWord, &text_);
  const int c = source_->get();
  if (c < 0) return fail(kMsgSectionAtEnd);
  if (c != ']') return fail(kMsgSectionBracket);
  states_.push(ReaderState::kEnd);
  states_.push(ReaderState::kBody);
  return kTokenSection;
}

int CzemTokenReader::keyword(int first) {
  text_.push_back(static_cast<char>(first));
  source_->takeWhile(isWord, &text_);
  if (skipBlanks(false) != '=') return fail(kMsgExpectedEquals);
  states_.push(ReaderState::kAfterValue);
  states_.push(ReaderState::kValue);
  return kTokenKeyword;
}

int CzemTokenReader::value() {
  const int c = skipBlanks(true);
  if (is(c, kDigit) || c == '+' || c == '-' || c == '.') return number(c);
  // Nothing checks what follows the word: "trueish" is true followed by "ish".
  if (c == 'f' && source_->lookingAt("alse", 4)) {
    source_->skip(4);
    return kTokenFalse;
  }
  if (c == 't' && source_->lookingAt("rue", 3)) {
    source_->skip(3);
    return kTokenTrue;
  }
  if (c == '\'') {
    // A doubled quote stands for one; newlines stay in the text.
    for (;;) {
      if (source_->takeThrough([](unsigned char ch) { return ch == '\''; }, &text_) < 0) return fail(kMsgOpenString);
      if (source_->peek() != '\'') return kTokenString;
      text_.push_back(static_cast<char>(source_->get()));
    }
  }
  if (c == '|') {
    if (source_->takeThrough([](unsigned char ch) { return ch == '|'; }, &text_) < 0) return fail(kMsgOpenFilename);
    return kTokenFilename;
  }
  // No value here: an unquoted word after '=' is read next as a keyword.
  source_->unget(c);
  return kTokenNoValue;
}

// The number as written, sign included. After a sign the next character is
// taken whatever it is (the end of the input excepted: it is no character).
int CzemTokenReader::number(int c) {
  text_.push_back(static_cast<char>(c));
  if (c == '+' || c == '-') {
    c = source_->get();
    if (c >= 0) text_.push_back(static_cast<char>(c));
  }
  if (c == '.') {
    if (!is(source_->peek(), kDigit)) return fail(kMsgDigitAfterPoint);
  } else {
    source_->takeWhile(isDigitByte, &text_);
    const int d = source_->peek();
    if (d == '.') {
      text_.push_back(static_cast<char>(source_->get()));
    } else if (d != 'e' && d != 'E') {
      return kTokenInteger;
    }
  }
  source_->takeWhile(isDigitByte, &text_);
  const int d = source_->peek();
  if (d == 'e' || d == 'E') {
    text_.push_back(static_cast<char>(source_->get()));
    const int s = source_->get();
    const bool signedExponent = (s == '+' || s == '-') && is(source_->peek(), kDigit);
    if (!signedExponent && !is(s, kDigit)) return fail(kMsgBadExponent);
    text_.push_back(static_cast<char>(s));
    source_->takeWhile(isDigitByte, &text_);
  }
  return kTokenReal;
}

int CzemTokenReader::fail(const char* message) {
  record(message);
  return kTokenError;
}

void CzemTokenReader::record(const char* message) {
  errorLine_ = source_->line();
  errorColumn_ = source_->column();
  // Within the reserved room, so that recording cannot fail.
  message_.assign(message, std::min(std::strlen(message), message_.capacity()));
  hasError_ = true;
}
