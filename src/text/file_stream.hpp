// A character source over a file, read in large blocks in text mode: a
// carriage return directly before a line feed is dropped, so a CR LF pair
// arrives as one newline.
#pragma once

#include <memory>

#include "text/input.hpp"

namespace zem {

// Text mode: drops each CR that stands right before a LF in data[0, size),
// in place; returns the new size.
std::size_t dropPairedCarriageReturns(unsigned char* data, std::size_t size);

class CyyStream final : public CyyInput {
 public:
  // Opens `fileName` for reading. The state becomes kReady when the file is
  // open and kOpenFailed otherwise (missing, unreadable, a folder, a null name).
  explicit CyyStream(const char* fileName);
  ~CyyStream() override;

  void release() override;
  // A regular file can be read again from its start.
  bool rewindable() const override { return regularFile_ && fd_ >= 0; }

 private:
  // Big enough that the per-block work vanishes against the per-character work.
  static constexpr std::size_t kBlockSize = 1 << 20;

  bool underflow() override;
  bool restart() override;
  // Reads into `buffer_ + 1 + filled` until something arrives or the file
  // ends; returns the number of bytes read (0 at the end).
  std::size_t readSome(std::size_t filled);

  int fd_ = -1;
  // buffer_[0] keeps the last character of the previous window for putback.
  std::unique_ptr<unsigned char[]> buffer_;
  bool carriageReturnPending_ = false;  // a block ended in CR: its pair may be in the next block
  bool regularFile_ = false;
  bool atEnd_ = false;  // the file has been read to its end
};

}  // namespace zem
