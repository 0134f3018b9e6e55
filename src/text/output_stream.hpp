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

namespace zem {

class OutputStream {
 public:
  // Writes to `file` (not owned); with a null file the text collects in memory.
  explicit OutputStream(std::FILE* file)
      : file_(file), capacity_(file != nullptr ? kBlock : kSmallBlock), buffer_(new char[capacity_]) {}
  ~OutputStream() { flush(); }
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  OutputStream& put(char c) {
    if (used_ == capacity_) makeRoom(1);
    buffer_[used_++] = c;
    return *this;
  }
  OutputStream& write(std::string_view s) {
    if (s.size() > capacity_ - used_) makeRoom(s.size());
    if (!s.empty()) std::memcpy(buffer_.get() + used_, s.data(), s.size());
    used_ += s.size();
    return *this;
  }
  OutputStream& operator<<(std::string_view s) { return write(s); }
  // A text inside a value: the reader takes a CR LF pair as LF, so a CR
  // right before a LF is written twice and the text reads back as it was.
  OutputStream& writeText(std::string_view s) {
    for (std::size_t from = 0;;) {
      const std::size_t pair = s.find("\r\n", from);
      if (pair == std::string_view::npos) return write(s.substr(from));
      write(s.substr(from, pair + 1 - from)).put('\r');
      from = pair + 1;
    }
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
    if (n > capacity_ - used_) makeRoom(n);
    return buffer_.get() + used_;
  }
  void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

  // Hands the collected text to the file; false once any write came up short.
  bool flush() {
    if (file_ != nullptr && used_ != 0) {
      if (std::fwrite(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
      used_ = 0;
    }
    return !failed_;
  }
  bool failed() const { return failed_; }
  // The text collected so far when no file is attached.
  std::string text() const { return std::string(buffer_.get(), used_); }

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

  // Makes room for `n` more bytes: a file takes the full buffer, a text
  // collected in memory grows.
  void makeRoom(std::size_t n) {
    if (file_ != nullptr) {
      flush();
      if (n <= capacity_) return;
    }
    std::size_t capacity = capacity_ * 2;
    while (capacity - used_ < n) capacity *= 2;
    std::unique_ptr<char[]> larger(new char[capacity]);
    if (used_ != 0) std::memcpy(larger.get(), buffer_.get(), used_);
    buffer_ = std::move(larger);
    capacity_ = capacity;
  }

  std::FILE* file_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
  AnchorMemo anchorMemo_;
};

}  // namespace zem
