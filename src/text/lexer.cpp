// The lexer of parameter files (CzemParser::yylex).
#include <cstring>

#include "text/char_class.hpp"
#include "text/zem_parser.hpp"

namespace zem {

TokenBuffer& CzemParser::nextTextBuffer() {
  TokenBuffer& buffer = textBuffers_[nextBuffer_];
  nextBuffer_ = (nextBuffer_ + 1) % kTextBuffers;
  return buffer;
}

int CzemParser::bufferFailed() {
  setError("Failed to extend buffer");
  return kTokEnd;
}

int CzemParser::yylex(TokenText* text) {
  const int token = readToken(text);
  previousTokenEnd_ = tokenEnd_;
  tokenEnd_ = here();
  text->start = tokenStart_;
  text->end = tokenEnd_;
  return token;
}

int CzemParser::readToken(TokenText* text) {
  if (hasError()) return kTokEnd;
  CyyInput& input = in();
  // White space and comments, in any number and order.
  for (;;) {
    const unsigned char* p = input.cursor();
    const unsigned char* const end = input.limit();
    while (p < end) {
      const std::uint8_t k = kCharClass[*p];
      if (k == kChBlank) {
        ++p;
      } else if (k == kChNewline) {
        input.setCursor(++p);
        input.newlineConsumed();
      } else {
        break;
      }
    }
    input.setCursor(p);
    if (p == end) {
      if (!input.refill()) return kTokEnd;
      continue;
    }
    tokenStart_ = here();
    const int c = readChar();
    switch (kCharClass[static_cast<unsigned>(c)]) {
      case kChSemicolon:
        skipLineComment();
        continue;
      case kChSlash: {
        const int next = peekChar();
        if (next == '/') {
          readChar();
          skipLineComment();
          continue;
        }
        if (next == '*') {
          readChar();
          if (!skipBlockComment()) {
            setError("Bad comment");
            return kTokEnd;
          }
          continue;
        }
        return '/';
      }
      case kChNul:
        return kTokInvalid;
      case kChOther:
      case kChUnderscore:
        return c;
      default:
        return lexText(c, text);
    }
  }
}

// Moves over the characters for which `inRun` holds (never a newline: the
// counters are not told), appending them to `buffer`; the first other
// character stays unread. False when the buffer cannot grow.
template <typename InRun>
bool CzemParser::takeRun(TokenBuffer& buffer, InRun inRun) {
  CyyInput& input = in();
  for (;;) {
    const unsigned char* const start = input.cursor();
    const unsigned char* const end = input.limit();
    const unsigned char* p = start;
    while (p < end && inRun(*p)) ++p;
    input.setCursor(p);
    if (!buffer.append(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p - start), tokenLimit_))
      return false;
    if (p < end || !input.refill()) return true;
  }
}

// Reads a text up to its closing character `close`. Newlines are counted and
// kept unless `dropNewlines`; a newline that the text may not hold
// (`newlineEnds`) or the end of input ends it unclosed. Returns the character
// that ended the text: `close`, '\n' (left unread) or kEnd; 0 when the buffer
// could not grow.
int CzemParser::takeDelimited(TokenBuffer& buffer, unsigned char close, bool newlineEnds, bool dropNewlines) {
  for (;;) {
    if (!takeRun(buffer, [close](unsigned char ch) { return ch != close && ch != '\n'; })) return 0;
    const int c = peekChar();
    if (c == kEnd || c == close) {
      if (c == close) readChar();
      return c;
    }
    if (newlineEnds) return c;
    readChar();
    if (!dropNewlines && !buffer.push('\n', tokenLimit_)) return 0;
  }
}

// Tokens that carry a text, by their first character.
int CzemParser::lexText(int c, TokenText* text) {
  TokenBuffer& buffer = nextTextBuffer();
  if (!buffer.begin(tokenLimit_)) return bufferFailed();
  int code = kTokEnd;
  switch (kCharClass[static_cast<unsigned>(c)]) {
    case kChBraceOpen:
      // Up to the first '}'; braces do not nest and newlines are dropped.
      c = takeDelimited(buffer, '}', false, true);
      if (c == 0) return bufferFailed();
      if (c == kEnd) {
        setError("Missing }");
        return kTokEnd;
      }
      code = kTokBraced;
      break;
    case kChLetter:
      if (!buffer.push(static_cast<char>(c), tokenLimit_) || !takeRun(buffer, isWordByte)) return bufferFailed();
      code = identifierCode(buffer.text().view());
      break;
    case kChQuote:
      // A doubled apostrophe stands for one; newlines stay in the text.
      for (;;) {
        c = takeDelimited(buffer, '\'', false, false);
        if (c == 0) return bufferFailed();
        if (c == kEnd) {
          setError("Bad string");
          return kTokEnd;
        }
        if (peekChar() != '\'') break;
        readChar();
        if (!buffer.push('\'', tokenLimit_)) return bufferFailed();
      }
      code = kTokString;
      break;
    case kChDigit:
    case kChPoint:
      code = lexNumber(c, buffer);
      if (code == kTokEnd) return kTokEnd;
      break;
    case kChNumberSign:
      c = takeDelimited(buffer, '#', true, false);
      if (c == 0) return bufferFailed();
      if (c != '#') {
        // The newline that ends the line belongs to the unclosed text.
        readChar();
        setError("Missing #");
        return kTokEnd;
      }
      code = kTokDateTime;
      break;
    case kChBar:
      c = takeDelimited(buffer, '|', true, false);
      if (c == 0) return bufferFailed();
      if (c != '|') {
        // The newline stays for the next line: the error points at the bar text's line.
        setError("Missing |");
        return kTokEnd;
      }
      code = kTokFilename;
      break;
    default:
      return c;
  }
  keepTokenText();
  *text = buffer.text();
  return code;
}

// Unsigned numbers; a sign is a token of its own.
int CzemParser::lexNumber(int c, TokenBuffer& buffer) {
  auto digits = [&] {
    if (takeRun(buffer, [](unsigned char ch) { return isDigitChar(ch); })) return true;
    bufferFailed();
    return false;
  };
  auto push = [&](int ch) {
    if (buffer.push(static_cast<char>(ch), tokenLimit_)) return true;
    bufferFailed();
    return false;
  };
  // Most numbers lie whole inside the window: take digits, point and digits
  // in one step (the first digit, already consumed, stands just before the cursor).
  if (c != '.') {
    const unsigned char* const end = in().limit();
    const unsigned char* p = in().cursor();
    while (p < end && isDigitChar(*p)) ++p;
    bool real = false;
    if (p < end && *p == '.') {
      real = true;
      for (++p; p < end && isDigitChar(*p);) ++p;
    }
    if (p < end && *p != 'e' && *p != 'E') {
      const unsigned char* const first = in().cursor() - 1;
      in().setCursor(p);
      if (!buffer.append(reinterpret_cast<const char*>(first), static_cast<std::size_t>(p - first), tokenLimit_))
        return bufferFailed();
      return real ? kTokReal : kTokInteger;
    }
  }
  if (!push(c)) return kTokEnd;
  if (c == '.') {
    if (!isDigitChar(peekChar())) {
      setError("Expecting digit");
      return kTokEnd;
    }
  } else {
    if (!digits()) return kTokEnd;
    c = peekChar();
    if (c == '.') {
      readChar();
      if (!push(c)) return kTokEnd;
    } else if (c != 'e' && c != 'E') {
      return kTokInteger;
    }
  }
  // The fraction, then an optional scale factor.
  if (!digits()) return kTokEnd;
  c = peekChar();
  if (c != 'e' && c != 'E') return kTokReal;
  readChar();
  if (!push(c)) return kTokEnd;
  const int s = readChar();
  if (!(isDigitChar(s) || ((s == '+' || s == '-') && isDigitChar(peekChar())))) {
    setError("Bad scale factor");
    return kTokEnd;
  }
  if (!push(s) || !digits()) return kTokEnd;
  return kTokReal;
}

}  // namespace zem
