// A buffered byte sink for the writer: nodes append their text here and the
// stream hands it to the file in large blocks.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace zem {

class OutputStream {
 public:
  // Writes to `file` (not owned); with a null file the text collects in memory.
  explicit OutputStream(std::FILE* file) : file_(file) { buffer_.reserve(kBlock); }
  ~OutputStream() { flush(); }
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  OutputStream& put(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= kBlock) flush();
    return *this;
  }
  OutputStream& write(std::string_view s) {
    buffer_.append(s.data(), s.size());
    if (buffer_.size() >= kBlock) flush();
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
    buffer_.append(n, ' ');
    return *this;
  }
  OutputStream& endLine() { return write("\r\n"); }

  // Hands the collected text to the file; false once any write came up short.
  bool flush() {
    if (file_ != nullptr && !buffer_.empty()) {
      if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
      buffer_.clear();
    }
    return !failed_;
  }
  bool failed() const { return failed_; }
  // The text collected so far when no file is attached.
  const std::string& text() const { return buffer_; }

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
  static constexpr std::size_t kBlock = 1 << 16;
  std::FILE* file_;
  std::string buffer_;
  bool failed_ = false;
  AnchorMemo anchorMemo_;
};

}  // namespace zem
