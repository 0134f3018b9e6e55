// A buffered byte sink for the writer: nodes append their text here and the
// stream hands it to the file in large blocks.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "text/byte_words.hpp"

namespace zem {

class OutputStream {
 public:
  // Writes to `file` (not owned); with a null file the text collects in memory.
  explicit OutputStream(std::FILE* file)
      : file_(file),
        capacity_(file != nullptr ? kBlock : kSmallBlock),
        buffer_(new char[capacity_]),
        cursor_(buffer_.get()),
        limit_(cursor_ + capacity_) {}
  ~OutputStream() { flush(); }
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  OutputStream& put(char c) {
    if (cursor_ == limit_) makeRoom(1);
    *cursor_++ = c;
    return *this;
  }
  OutputStream& write(std::string_view s) {
    if (s.size() > static_cast<std::size_t>(limit_ - cursor_)) makeRoom(s.size());
    char* const at = cursor_;
    copyInto(at, s.data(), s.size());
    cursor_ = at + s.size();
    return *this;
  }
  OutputStream& operator<<(std::string_view s) { return write(s); }
  // A text between quotes: a quote inside it is doubled, and a CR right before
  // a LF is written twice because the reader takes a CR LF pair as LF; the
  // text then reads back as it was.
  OutputStream& writeQuoted(std::string_view s, char quote) {
    if (mayHoldQuoteOrCr(s, quote)) return writeEscaped(s, quote);
    return put(quote).write(s).put(quote);
  }
  OutputStream& operator<<(char c) { return put(c); }
  OutputStream& blanks(std::size_t n) {
    static constexpr char kBlanks[] = "                                                                ";
    for (; n > sizeof kBlanks - 1; n -= sizeof kBlanks - 1) write({kBlanks, sizeof kBlanks - 1});
    return write({kBlanks, n});
  }
  OutputStream& endLine() { return write("\r\n"); }
  // Room for `n` bytes written in place (a number formatted straight into the
  // stream); `commit` then takes the bytes actually written.
  char* reserve(std::size_t n) {
    if (n > static_cast<std::size_t>(limit_ - cursor_)) makeRoom(n);
    return cursor_;
  }
  void commit(char* end) { cursor_ = end; }

  // Hands the collected text to the file; false once any write came up short
  // or the text was refused.
  bool flush() {
    if (refused_) cursor_ = buffer_.get();
    if (file_ != nullptr && used() != 0) {
      if (std::fwrite(buffer_.get(), 1, used(), file_) != used()) failed_ = true;
      cursor_ = buffer_.get();
    }
    return !failed_ && !refused_;
  }
  bool failed() const { return failed_; }
  // A value that has no form the reader takes back (a bound number that is
  // infinite or NaN) refuses the whole text: nothing more reaches the file,
  // and the writer takes back what already did.
  void refuse() { refused_ = true; }
  bool refused() const { return refused_; }
  // The text collected so far when no file is attached.
  std::string text() const { return std::string(buffer_.get(), used()); }

  // The folder of the last anchor file that a file name was written against.
  // All file names of one write share their document's anchor, so its folder
  // (which may need the current directory) is worked out once per write.
  struct AnchorMemo {
    bool valid = false;
    std::string anchor;
    std::string folder;
  };
  AnchorMemo& anchorMemo() { return anchorMemo_; }

 private:
  // A few megabytes per write call: the file system takes large blocks best.
  static constexpr std::size_t kBlock = std::size_t{4} << 20;
  static constexpr std::size_t kSmallBlock = 4096;

  // writeQuoted for a text that may need escapes, out of line like makeRoom.
  [[gnu::noinline]] OutputStream& writeEscaped(std::string_view s, char quote) {
    put(quote);
    const char* from = s.data();
    const char* const end = from + s.size();
    const char* nextQuote = find(from, end, quote);
    const char* nextCr = find(from, end, '\r');
    while (nextQuote != end || nextCr != end) {
      if (nextQuote < nextCr) {
        write({from, static_cast<std::size_t>(nextQuote + 1 - from)}).put(quote);
        from = nextQuote + 1;
        nextQuote = find(from, end, quote);
        continue;
      }
      if (nextCr + 1 != end && nextCr[1] == '\n') {
        write({from, static_cast<std::size_t>(nextCr + 1 - from)}).put('\r');
        from = nextCr + 1;
      }
      nextCr = find(nextCr + 1, end, '\r');
    }
    return write({from, static_cast<std::size_t>(end - from)}).put(quote);
  }

  // False when `s` holds neither `quote` nor a CR. Short texts, the common
  // case, are tested eight bytes at a time (the last word overlapping the one
  // before); a long one is left to the search.
  static bool mayHoldQuoteOrCr(std::string_view s, char quote) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    const auto q = static_cast<unsigned char>(quote);
    if (n < 8) {
      for (std::size_t i = 0; i < n; ++i)
        if (p[i] == q || p[i] == '\r') return true;
      return false;
    }
    if (n > 64) return true;
    auto marks = [q](std::uint64_t w) { return byte_words::equalBytes(w, q) | byte_words::equalBytes(w, '\r'); };
    std::uint64_t found = marks(byte_words::load(p + n - 8));
    for (std::size_t i = 0; i + 8 < n; i += 8) found |= marks(byte_words::load(p + i));
    return found != 0;
  }

  // The first `c` in [from, end), or `end`.
  static const char* find(const char* from, const char* end, char c) {
    if (from == end) return end;
    const void* at = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return at != nullptr ? static_cast<const char*>(at) : end;
  }

  static void copyInto(char* to, const char* from, std::size_t n) {
    if (n > 32)
      std::memcpy(to, from, n);
    else
      byte_words::copyShort(to, from, n);
  }

  // Makes room for `n` more bytes: a file takes the full buffer, a text
  // collected in memory grows. Rarely needed, so kept out of line: the
  // appends that every value makes stay a compare and a copy.
  [[gnu::noinline]] void makeRoom(std::size_t n) {
    if (file_ != nullptr) {
      flush();
      if (n <= capacity_) return;
    }
    const std::size_t length = used();
    std::size_t capacity = capacity_ * 2;
    while (capacity - length < n) capacity *= 2;
    std::unique_ptr<char[]> larger(new char[capacity]);
    if (length != 0) std::memcpy(larger.get(), buffer_.get(), length);
    buffer_ = std::move(larger);
    capacity_ = capacity;
    cursor_ = buffer_.get() + length;
    limit_ = buffer_.get() + capacity;
  }
  std::size_t used() const { return static_cast<std::size_t>(cursor_ - buffer_.get()); }

  std::FILE* file_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  char* cursor_;  // where the next byte goes
  char* limit_;   // the end of the buffer
  bool failed_ = false;
  bool refused_ = false;
  AnchorMemo anchorMemo_;
};

}  // namespace zem
