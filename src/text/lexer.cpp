// The lexer of parameter files (CzemParser::yylex).
#include <cstring>

#include "text/char_class.hpp"
#include "text/zem_parser.hpp"

namespace zem {
namespace {

bool equalsFolded(std::string_view text, const char* word) {
  const std::size_t n = std::strlen(word);
  if (text.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    if (c != word[i]) return false;
  }
  return true;
}

int identifierCode(std::string_view text) {
  switch (text.size()) {
    case 4:
      return equalsFolded(text, "true") ? kTokBoolean : kTokIdent;
    case 5:
      return equalsFolded(text, "false") ? kTokBoolean : kTokIdent;
    case 7:
      if (equalsFolded(text, "endsect")) return kTokEndSect;
      return equalsFolded(text, "default") ? kTokDefault : kTokIdent;
    default:
      return kTokIdent;
  }
}

}  // namespace

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

// Tokens that carry a text, by their first character.
int CzemParser::lexText(int c, TokenText* text) {
  TokenBuffer& buffer = nextTextBuffer();
  if (!buffer.begin(tokenLimit_)) return bufferFailed();
  int code = kTokEnd;
  switch (kCharClass[static_cast<unsigned>(c)]) {
    case kChBraceOpen:
      // Up to the first '}'; braces do not nest and newlines are dropped.
      for (;;) {
        c = readChar();
        if (c == '}') break;
        if (c == kEnd) {
          setError("Missing }");
          return kTokEnd;
        }
        if (c != '\n' && !buffer.push(static_cast<char>(c), tokenLimit_)) return bufferFailed();
      }
      code = kTokBraced;
      break;
    case kChLetter: {
      if (!buffer.push(static_cast<char>(c), tokenLimit_)) return bufferFailed();
      // Runs of word characters are taken from the window in one step.
      for (;;) {
        const unsigned char* start = in().cursor();
        const unsigned char* p = start;
        const unsigned char* const end = in().limit();
        while (p < end && isWordChar(*p)) ++p;
        if (!buffer.append(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p - start), tokenLimit_))
          return bufferFailed();
        in().setCursor(p);
        if (p < end || !in().refill()) break;
      }
      code = identifierCode(buffer.text().view());
      break;
    }
    case kChQuote:
      // A doubled apostrophe stands for one; newlines stay in the text.
      for (;;) {
        c = readChar();
        if (c == kEnd) {
          setError("Bad string");
          return kTokEnd;
        }
        if (c == '\'') {
          const int next = readChar();
          if (next != '\'') {
            unreadChar(next);
            break;
          }
        }
        if (!buffer.push(static_cast<char>(c), tokenLimit_)) return bufferFailed();
      }
      code = kTokString;
      break;
    case kChDigit:
    case kChPoint:
      code = lexNumber(c, buffer);
      if (code == kTokEnd) return kTokEnd;
      break;
    case kChNumberSign:
      for (;;) {
        c = readChar();
        if (c == '#') break;
        if (c == '\n' || c == kEnd) {
          setError("Missing #");
          return kTokEnd;
        }
        if (!buffer.push(static_cast<char>(c), tokenLimit_)) return bufferFailed();
      }
      code = kTokDateTime;
      break;
    case kChBar:
      for (;;) {
        c = readChar();
        if (c == '|') break;
        if (c == '\n' || c == kEnd) {
          // The newline stays for the next line: the error points at the bar text's line.
          unreadChar(c);
          setError("Missing |");
          return kTokEnd;
        }
        if (!buffer.push(static_cast<char>(c), tokenLimit_)) return bufferFailed();
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
  auto push = [&](int ch) {
    if (buffer.push(static_cast<char>(ch), tokenLimit_)) return true;
    bufferFailed();
    return false;
  };
  if (!push(c)) return kTokEnd;
  if (c == '.') {
    if (!isDigitChar(peekChar())) {
      setError("Expecting digit");
      return kTokEnd;
    }
  } else {
    while (isDigitChar(c = readChar()))
      if (!push(c)) return kTokEnd;
    if (c == '.') {
      if (!push(c)) return kTokEnd;
    } else {
      unreadChar(c);
      if (c != 'e' && c != 'E') return kTokInteger;
    }
  }
  // The fraction, then an optional scale factor.
  while (isDigitChar(c = readChar()))
    if (!push(c)) return kTokEnd;
  if (c != 'e' && c != 'E') {
    unreadChar(c);
    return kTokReal;
  }
  if (!push(c)) return kTokEnd;
  const int s = readChar();
  if (!(isDigitChar(s) || ((s == '+' || s == '-') && isDigitChar(peekChar())))) {
    setError("Bad scale factor");
    return kTokEnd;
  }
  if (!push(s)) return kTokEnd;
  while (isDigitChar(c = readChar()))
    if (!push(c)) return kTokEnd;
  unreadChar(c);
  return kTokReal;
}

}  // namespace zem
