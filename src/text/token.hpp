// Token codes of the parameter-file lexer and the texts the tokens carry.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "model/source_span.hpp"

namespace zem {

// Codes above the single characters; stored tools compare against the numbers.
enum TokenCode : int {
  kTokEnd = 0,
  kTokInteger = 257,
  kTokReal = 258,
  kTokBoolean = 259,
  kTokString = 260,
  kTokIdent = 261,
  kTokBraced = 262,
  kTokEndSect = 263,
  kTokDefault = 264,
  kTokDateTime = 265,
  kTokFilename = 266,
  // A character that no grammar rule accepts anywhere (a NUL byte): the
  // engine fails on it instead of taking it for the end of the file.
  kTokInvalid = 511,
};

namespace detail {
// `word` is in lower case and as long as `text`.
inline bool equalsFolded(std::string_view text, std::string_view word) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    if (c != word[i]) return false;
  }
  return true;
}
}  // namespace detail

// The code of an identifier: the words true, false, endsect and default (in
// any case) have codes of their own.
inline int identifierCode(std::string_view text) {
  switch (text.size()) {
    case 4:
      return detail::equalsFolded(text, "true") ? kTokBoolean : kTokIdent;
    case 5:
      return detail::equalsFolded(text, "false") ? kTokBoolean : kTokIdent;
    case 7:
      if (detail::equalsFolded(text, "endsect")) return kTokEndSect;
      return detail::equalsFolded(text, "default") ? kTokDefault : kTokIdent;
    default:
      return kTokIdent;
  }
}

// The text of a token as the grammar actions see it. One byte before `data`
// is always writable, so a sign can be put in front of a number in place.
struct TokenText {
  char* data;
  std::size_t size;
  // Where the token stands: its first character and just after its last.
  SourcePoint start;
  SourcePoint end;
  std::string_view view() const { return {data, size}; }
};

// A growable text buffer: 64 bytes at first, doubled whenever the text
// reaches one byte less than the size. No length limit but memory.
class TokenBuffer {
 public:
  TokenBuffer() = default;
  ~TokenBuffer() { std::free(block_); }
  TokenBuffer(const TokenBuffer&) = delete;
  TokenBuffer& operator=(const TokenBuffer&) = delete;

  // Starts a new text; false when no memory for the first block.
  bool begin(std::size_t limit) {
    size_ = 0;
    return block_ != nullptr || grow(limit);
  }
  // False when the buffer could not grow (or would pass `limit`).
  bool push(char c, std::size_t limit) {
    if (size_ + 1 >= capacity_ && !grow(limit)) return false;
    block_[1 + size_++] = c;
    return true;
  }
  bool append(const char* s, std::size_t n, std::size_t limit) {
    while (size_ + n + 1 > capacity_)
      if (!grow(limit)) return false;
    if (n != 0) std::memcpy(block_ + 1 + size_, s, n);
    size_ += n;
    return true;
  }
  // Valid after a successful begin, until the next begin.
  TokenText text() { return {block_ + 1, size_, {}, {}}; }

 private:
  static constexpr std::size_t kInitialSize = 64;

  bool grow(std::size_t limit) {
    const std::size_t wanted = capacity_ == 0 ? kInitialSize : capacity_ * 2;
    if (wanted > limit || wanted < capacity_) return false;
    // block_[0] is the room for a sign in front of the text.
    char* bigger = static_cast<char*>(std::realloc(block_, wanted + 1));
    if (bigger == nullptr) return false;
    block_ = bigger;
    capacity_ = wanted;
    return true;
  }

  char* block_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace zem
