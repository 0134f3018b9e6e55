#include "tokens/token_source.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zem::tokens {
namespace {

// Drops each CR that stands right before a LF in [data, data + size), in
// place, and returns the new size. A CR in the last place stays.
std::size_t dropCrBeforeLf(unsigned char* data, std::size_t size) {
  unsigned char* const stop = data + size;
  unsigned char* out = data;
  unsigned char* run = data;  // start of the characters not yet moved down
  for (unsigned char* p = data; p < stop;) {
    auto* cr = static_cast<unsigned char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
    if (cr == nullptr) break;
    if (cr + 1 < stop && cr[1] == '\n') {
      const auto length = static_cast<std::size_t>(cr - run);
      if (out != run) std::memmove(out, run, length);
      out += length;
      run = cr + 1;
    }
    p = cr + 1;
  }
  const auto length = static_cast<std::size_t>(stop - run);
  if (out != run) std::memmove(out, run, length);
  return static_cast<std::size_t>(out + length - data);
}

}  // namespace

TokenSource::TokenSource(std::size_t blockSize) : blockSize_(std::max<std::size_t>(blockSize, 1)) {}

TokenSource::~TokenSource() {
  if (fd_ >= 0) ::close(fd_);
}

bool TokenSource::open(const char* fileName) {
  if (fileName == nullptr || fd_ >= 0) return false;
  fd_ = ::open(fileName, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat info;
  // A folder opens for reading on this platform but is not a readable file.
  if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  regularFile_ = S_ISREG(info.st_mode);
  sizeAtOpen_ = regularFile_ ? static_cast<std::uint64_t>(info.st_size) : 0;
  // Room for the kept characters, a held CR and the looked-ahead ones in front of each block.
  buffer_.reset(new unsigned char[2 * kKeepBack + blockSize_]);
  cur_ = end_ = stored_ = buffer_.get();
  // A UTF-8 byte-order mark (Windows editors write one) is read as absent, as the loader reads it.
  static constexpr unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
  if (fill(sizeof kMark) && static_cast<std::size_t>(end_ - cur_) >= sizeof kMark &&
      std::memcmp(cur_, kMark, sizeof kMark) == 0)
    cur_ += sizeof kMark;
  return true;
}

bool TokenSource::truncated() const {
  // Files of the system folders report no size; only a file that had one can shrink.
  if (!regularFile_ || sizeAtOpen_ == 0) return false;
  struct stat info;
  if (::fstat(fd_, &info) != 0) return true;
  return bytesRead_ < sizeAtOpen_ || static_cast<std::uint64_t>(info.st_size) < bytesRead_;
}

bool TokenSource::fill(std::size_t need) {
  if (static_cast<std::size_t>(end_ - cur_) >= need) return true;
  if (buffer_ == nullptr) return false;
  if (!atEnd_) {
    // Move what may still be pushed back, the available characters and the
    // held CR to the front, then read behind them.
    unsigned char* const base = buffer_.get();
    const std::size_t keep = std::min<std::size_t>(kKeepBack, static_cast<std::size_t>(cur_ - base));
    const auto available = static_cast<std::size_t>(end_ - cur_);
    const auto stored = static_cast<std::size_t>(stored_ - (cur_ - keep));
    std::memmove(base, cur_ - keep, stored);
    cur_ = base + keep;
    end_ = cur_ + available;
    stored_ = base + stored;
    unsigned char* const limit = base + 2 * kKeepBack + blockSize_;
    while (static_cast<std::size_t>(end_ - cur_) < need && !atEnd_) {
      const ssize_t n = ::read(fd_, stored_, static_cast<std::size_t>(limit - stored_));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        atEnd_ = true;
        failed_ = n < 0 || truncated();
        break;
      }
      bytesRead_ += static_cast<std::uint64_t>(n);
      // The held CR is translated again together with the new block.
      const auto fresh = static_cast<std::size_t>(stored_ + n - end_);
      stored_ = end_ + dropCrBeforeLf(end_, fresh);
      end_ = stored_[-1] == '\r' ? stored_ - 1 : stored_;
    }
    if (atEnd_) end_ = stored_;  // a held CR stands alone
  }
  return end_ > cur_;
}

void TokenSource::unget(int c) {
  if (c < 0 || cur_ == buffer_.get()) return;
  *--cur_ = static_cast<unsigned char>(c);
  --characters_;
  if (endsLine(c)) {
    --line_;
    column_ = previousColumn_;
  } else {
    --column_;
  }
}

bool TokenSource::lookingAt(const char* word, std::size_t length) {
  // fill() may leave fewer characters near the end; the bytes behind them are
  // left over from earlier blocks and must not take part.
  return fill(length) && static_cast<std::size_t>(end_ - cur_) >= length && std::memcmp(cur_, word, length) == 0;
}

void TokenSource::skip(std::size_t length) {
  if (!fill(length)) return;
  length = std::min(length, static_cast<std::size_t>(end_ - cur_));
  cur_ += length;
  characters_ += static_cast<std::uint32_t>(length);
  column_ += static_cast<std::uint32_t>(length);
}

void TokenSource::countRun(const unsigned char* from, const unsigned char* to) {
  for (const unsigned char* p = from; p < to; ++p) count(*p);
}

}  // namespace zem::tokens
