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
  // Big enough that the per-block work vanishes against the per-character
  // work, small enough to stay in the cache while it is read.
  static constexpr std::size_t kBlockSize = 256 * 1024;

  // Opens `fileName` for reading. The state becomes kReady when the file is
  // open and kOpenFailed otherwise (missing, unreadable, a folder, a null name).
  // Tests read in smaller blocks (two bytes at least, room for a CR held
  // back and the next byte), so that every place can fall on a boundary.
  explicit CyyStream(const char* fileName, std::size_t blockSize = kBlockSize);
  ~CyyStream() override;

  void release() override;
  // A regular file can be read again from its start.
  bool rewindable() const override { return regularFile_ && fd_ >= 0; }
  bool keepLineEnds() override;

 private:
  bool underflow() override;
  bool underflowKeepingLineEnds();
  bool restart() override;
  // Reads into `buffer_ + 1 + filled` until something arrives or the file
  // ends; returns the number of bytes read (0 at the end).
  std::size_t readSome(std::size_t filled);
  // The length of a UTF-8 byte-order mark at the start of the file's first
  // window (0 when there is none or the window is not the first).
  std::size_t skipByteOrderMark(const unsigned char* data, std::size_t size);

  int fd_ = -1;
  // buffer_[0] keeps the last character of the previous window for putback.
  std::unique_ptr<unsigned char[]> buffer_;
  bool carriageReturnPending_ = false;  // a block ended in CR: its pair may be in the next block
  bool regularFile_ = false;
  bool markChecked_ = false;  // the first window has been looked at for a byte-order mark
  bool atEnd_ = false;  // the file has been read to its end
  std::size_t blockSize_;
  // With line ends kept: the part of the last block after its last newline,
  // at buffer_ + 1 + tailStart_; it opens the next window.
  std::size_t tailStart_ = 0;
  std::size_t tailSize_ = 0;
};

}  // namespace zem
