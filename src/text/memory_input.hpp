// A character source over bytes already in memory, read like a file: a UTF-8
// byte-order mark at the start is skipped and, in text mode, a CR directly
// before a LF is dropped. The whole text is one window, so a reader that
// counts CR LF pairs itself may keep the line ends, and the source can start
// over. It lets tools and tests parse a text without a file.
#pragma once

#include <cstring>
#include <memory>

#include "text/file_stream.hpp"
#include "text/input.hpp"

namespace zem {

class MemoryInput final : public CyyInput {
 public:
  // Copies `size` bytes of `data` (which may be null when size is 0).
  MemoryInput(const void* data, std::size_t size) : size_(size), buffer_(new unsigned char[size + 1]) {
    buffer_[0] = 0;
    if (size != 0) std::memcpy(buffer_.get() + 1, data, size);
    text_.reset(new unsigned char[size + 1]);
    state_ = kReady;
    restart();
  }

  bool rewindable() const override { return true; }
  bool keepLineEnds() override {
    if (delivered_) return false;
    lineEndsKept_ = true;
    return true;
  }

 private:
  bool underflow() override {
    if (delivered_) return false;
    delivered_ = true;
    // Each reading works on a fresh copy: text mode shortens it in place.
    unsigned char* data = text_.get() + 1;
    text_[0] = 0;
    if (size_ != 0) std::memcpy(data, buffer_.get() + 1, size_);
    std::size_t size = lineEndsKept_ ? size_ : dropPairedCarriageReturns(data, size_);
    static constexpr unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
    const std::size_t skip = size >= sizeof kMark && std::memcmp(data, kMark, sizeof kMark) == 0 ? sizeof kMark : 0;
    setWindow(data + skip, data + size);
    return size != skip;
  }
  bool restart() override {
    delivered_ = false;
    text_[0] = 0;
    setWindow(text_.get() + 1, text_.get() + 1);
    return true;
  }

  std::size_t size_;
  std::unique_ptr<unsigned char[]> buffer_;  // the text as given, after one slot
  std::unique_ptr<unsigned char[]> text_;    // the text being read, after the putback slot
  bool delivered_ = false;
};

}  // namespace zem
