#include "text/file_stream.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text/byte_words.hpp"

namespace zem {

// The runs between pairs move down in one step each.
std::size_t dropPairedCarriageReturns(unsigned char* data, std::size_t size) {
  unsigned char* const stop = data + size;
  unsigned char* out = nullptr;
  const unsigned char* run = nullptr;
  for (unsigned char* cr = static_cast<unsigned char*>(std::memchr(data, '\r', size)); cr != nullptr;) {
    const bool pair = cr + 1 < stop && cr[1] == '\n';
    if (pair) {
      if (out == nullptr) {
        out = cr;
      } else {
        std::memmove(out, run, static_cast<std::size_t>(cr - run));
        out += cr - run;
      }
      run = cr + 1;
    }
    unsigned char* next = cr + 1;
    cr = next < stop ? static_cast<unsigned char*>(std::memchr(next, '\r', static_cast<std::size_t>(stop - next)))
                     : nullptr;
  }
  if (out == nullptr) return size;
  std::memmove(out, run, static_cast<std::size_t>(stop - run));
  return static_cast<std::size_t>(out + (stop - run) - data);
}

CyyStream::CyyStream(const char* fileName, std::size_t blockSize) : blockSize_(blockSize < 2 ? 2 : blockSize) {
  state_ = kOpenFailed;
  if (fileName == nullptr) return;
  fd_ = ::open(fileName, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  struct stat info;
  // A folder opens for reading on this platform but is not a readable file.
  if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
    release();
    return;
  }
  regularFile_ = S_ISREG(info.st_mode);
  buffer_.reset(new unsigned char[blockSize_ + 1]);
  buffer_[0] = 0;
  setWindow(buffer_.get() + 1, buffer_.get() + 1);
  state_ = kReady;
}

bool CyyStream::keepLineEnds() {
  // Only before the first read.
  if (fd_ < 0 || characters() != 0 || cursor() != limit() || atEnd_) return false;
  lineEndsKept_ = true;
  return true;
}

bool CyyStream::restart() {
  buffer_[0] = 0;
  setWindow(buffer_.get() + 1, buffer_.get() + 1);
  carriageReturnPending_ = false;
  markChecked_ = false;
  tailStart_ = tailSize_ = 0;
  // A source that cannot go back reads as ended.
  atEnd_ = fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0;
  return !atEnd_;
}

CyyStream::~CyyStream() { release(); }

void CyyStream::release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::size_t CyyStream::readSome(std::size_t filled) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.get() + 1 + filled, blockSize_ - filled);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;  // a read error ends the input like the end of the file
  }
}

bool CyyStream::underflowKeepingLineEnds() {
  unsigned char* const data = buffer_.get() + 1;
  buffer_[0] = cursor()[-1];
  std::size_t size = tailSize_;
  if (size != 0) std::memmove(data, data + tailStart_, size);
  tailSize_ = 0;
  if (size < blockSize_) {
    const std::size_t n = readSome(size);
    if (n == 0) atEnd_ = true;
    size += n;
  }
  std::size_t window = size;
  if (!atEnd_) {
    // Lines are short: the last newline is found from the end.
    std::size_t last = size;
    while (last != 0 && data[last - 1] != '\n') --last;
    if (last != 0) {
      window = last;
      tailStart_ = last;
      tailSize_ = size - last;
    }
  }
  const std::size_t skip = skipByteOrderMark(data, window);
  setWindow(data + skip, data + window);
  return window != skip || underflow();
}

bool CyyStream::underflow() {
  if (fd_ < 0 || atEnd_) return false;
  if (lineEndsKept_) return underflowKeepingLineEnds();
  unsigned char* const data = buffer_.get() + 1;
  const unsigned char* old = cursor();
  buffer_[0] = old[-1];
  std::size_t size = 0;
  if (carriageReturnPending_) {
    data[size++] = '\r';
    carriageReturnPending_ = false;
  }
  bool atEnd = false;
  for (;;) {
    const std::size_t n = readSome(size);
    if (n == 0) {
      atEnd = true;
      break;
    }
    size += n;
    // Hold back a final CR until the next byte tells whether it pairs with a LF.
    if (data[size - 1] == '\r') {
      --size;
      carriageReturnPending_ = true;
      if (size == 0) {
        data[size++] = '\r';
        carriageReturnPending_ = false;
        continue;
      }
    }
    break;
  }
  if (atEnd) {
    // The file stays open until the parse lets go of it: a parse may start over.
    atEnd_ = true;
    if (carriageReturnPending_) {
      data[size++] = '\r';
      carriageReturnPending_ = false;
    }
  }
  size = dropPairedCarriageReturns(data, size);
  const std::size_t skip = skipByteOrderMark(data, size);
  setWindow(data + skip, data + size);
  return size != skip || underflow();
}

// Windows editors open a UTF-8 file with the mark EF BB BF; the file is read
// as if it were absent. Only the first bytes of the file can hold it.
std::size_t CyyStream::skipByteOrderMark(const unsigned char* data, std::size_t size) {
  if (markChecked_ || size == 0) return 0;
  static constexpr unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
  markChecked_ = true;
  return size >= sizeof kMark && std::memcmp(data, kMark, sizeof kMark) == 0 ? sizeof kMark : 0;
}

}  // namespace zem
