// The character source of the token reader: a file read in fixed blocks in
// text mode, with the reading counters (characters, line, column) and room
// to push characters back.
//
// Text mode: a CR directly before a LF is dropped, so a CR LF pair arrives as
// one newline. A CR standing alone is an ordinary character, a blank between
// tokens, as the loader reads it: it ends no line and no line comment.
//
// Memory stays fixed whatever the file size: one block plus a few characters
// kept in front of it for pushing back and looking ahead.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zem::tokens {

constexpr bool endsLine(int c) { return c == '\n'; }

class TokenSource {
 public:
  static constexpr std::size_t kBlockSize = 64 * 1024;
  // The most characters the reader pushes back in a row or looks at ahead.
  static constexpr std::size_t kKeepBack = 16;

  // Tests read in tiny blocks, so that every place falls on a block boundary.
  explicit TokenSource(std::size_t blockSize = kBlockSize);
  ~TokenSource();
  TokenSource(const TokenSource&) = delete;
  TokenSource& operator=(const TokenSource&) = delete;

  // Opens `fileName` for reading; false for a null name, a missing or
  // unreadable file, or a folder. Throws std::bad_alloc for the block.
  bool open(const char* fileName);

  // The next character (0 to 255), consumed; -1 at the end, which changes no counter.
  int get() {
    if (cur_ == end_ && !fill(1)) return -1;
    const int c = *cur_++;
    count(c);
    return c;
  }
  // The next character without consuming it; -1 at the end.
  int peek() {
    if (cur_ == end_ && !fill(1)) return -1;
    return *cur_;
  }
  // Pushes back `c`, the character consumed last, undoing its counting. Up to
  // kKeepBack characters can go back in a row; only one newline, as only one
  // previous column is kept. Pushing back the end (-1) does nothing: the end
  // stays the end.
  void unget(int c);

  // Whether the input from the next character on reads `word` (shorter than
  // kKeepBack, no line ends); nothing is consumed.
  bool lookingAt(const char* word, std::size_t length);
  // Consumes `length` characters known to hold no line end.
  void skip(std::size_t length);

  // Consumes the characters for which `inRun(c)` holds; appends them to `out`
  // unless it is null.
  template <typename InRun>
  void takeWhile(InRun inRun, std::string* out);
  // Consumes characters up to and including the first one for which
  // `isStop(c)` holds and returns it; appends the characters before it to
  // `out` unless it is null. -1 when the input ends first.
  template <typename IsStop>
  int takeThrough(IsStop isStop, std::string* out);

  std::uint32_t characters() const { return characters_; }
  std::uint32_t line() const { return line_; }
  std::uint32_t column() const { return column_; }
  // A read failed or the file became shorter while it was read; the input ended there.
  bool failed() const { return failed_; }

 private:
  // Makes at least `need` characters available unless the input ends first;
  // false when none is.
  bool fill(std::size_t need);
  void count(int c) {
    ++characters_;
    if (endsLine(c)) {
      ++line_;
      previousColumn_ = column_;
      column_ = 0;
    } else {
      ++column_;
    }
  }
  void countRun(const unsigned char* from, const unsigned char* to);
  // The file became shorter than what was read or than it was at opening.
  bool truncated() const;

  int fd_ = -1;
  bool regularFile_ = false;
  bool atEnd_ = false;  // the file has been read to its end; nothing is read after it
  bool failed_ = false;
  std::uint64_t bytesRead_ = 0;  // bytes taken from the file so far
  std::uint64_t sizeAtOpen_ = 0;
  std::size_t blockSize_;
  std::unique_ptr<unsigned char[]> buffer_;
  // buffer_ holds [consumed | available: cur_..end_ | held: end_..stored_). A
  // CR that ends a block is held until the next block tells whether a LF
  // follows it.
  unsigned char* cur_ = nullptr;
  unsigned char* end_ = nullptr;
  unsigned char* stored_ = nullptr;

  std::uint32_t characters_ = 0;
  std::uint32_t line_ = 1;
  std::uint32_t column_ = 0;
  std::uint32_t previousColumn_ = 0;  // the column at which the last line end was consumed
};

template <typename InRun>
void TokenSource::takeWhile(InRun inRun, std::string* out) {
  for (;;) {
    unsigned char* p = cur_;
    while (p < end_ && inRun(*p)) ++p;
    if (out != nullptr) out->append(reinterpret_cast<const char*>(cur_), static_cast<std::size_t>(p - cur_));
    countRun(cur_, p);
    cur_ = p;
    if (p < end_ || !fill(1)) return;
  }
}

template <typename IsStop>
int TokenSource::takeThrough(IsStop isStop, std::string* out) {
  for (;;) {
    unsigned char* p = cur_;
    while (p < end_ && !isStop(*p)) ++p;
    if (out != nullptr) out->append(reinterpret_cast<const char*>(cur_), static_cast<std::size_t>(p - cur_));
    countRun(cur_, p);
    cur_ = p;
    if (p < end_) return get();
    if (!fill(1)) return -1;
  }
}

}  // namespace zem::tokens
