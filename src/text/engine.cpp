#include "text/engine.hpp"

#include <cstring>

namespace zem {

void CyyParser::setError(const char* message) {
  if (hasError_) return;
  hasError_ = true;
  errorLine_ = input_->line();
  errorPosition_ = input_->column();
  errorMessage_ = message;
}

void CyyParser::skipLineComment() {
  ++comments_;
  // The newline stays unread: it is white space of its own.
  for (;;) {
    const unsigned char* p = input_->cursor();
    const unsigned char* end = input_->limit();
    const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    if (nl != nullptr) {
      input_->setCursor(static_cast<const unsigned char*>(nl));
      return;
    }
    input_->setCursor(end);
    if (!input_->refill()) return;
  }
}

bool CyyParser::skipBlockComment() {
  // Depth of open comments; each opener needs its own closer.
  unsigned depth = 1;
  for (;;) {
    const int c = readChar();
    if (c == kEnd) return false;
    if (c == '/') {
      if (peekChar() == '*') {
        readChar();
        ++depth;
      }
    } else if (c == '*') {
      if (peekChar() == '/') {
        readChar();
        ++comments_;
        if (--depth == 0) return true;
      }
    }
  }
}

}  // namespace zem
