// The character source of the parser. A source hands out its bytes through a
// window of buffered characters, so reading one character is a pointer
// compare and increment; a concrete source only refills the window.
//
// The source also holds the reading counters (characters, line, column). They
// are a function of the reading position: the parser moves them with
// readChar/unreadChar and reads them for its error record and the statistics.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zem {

class CyyInput {
 public:
  enum State : int { kReady = 0, kSettingUp = 1, kOpenFailed = 2 };

  virtual ~CyyInput() = default;
  CyyInput(const CyyInput&) = delete;
  CyyInput& operator=(const CyyInput&) = delete;

  int state() const { return state_; }

  // Consumes and returns the next character (0 to 255), or -1 at the end.
  int get() {
    if (cur_ == end_ && !underflow()) return -1;
    return *cur_++;
  }
  // The next character without consuming it, or -1 at the end.
  int peek() {
    if (cur_ == end_ && !underflow()) return -1;
    return *cur_;
  }
  // Returns the character consumed last. A refill keeps that character in
  // front of the new window, so one step back is always possible.
  void putback() { --cur_; }

  // Characters consumed so far (a pushed-back character is not counted).
  std::uint64_t characters() const { return base_ + static_cast<std::uint64_t>(cur_ - begin_); }
  std::uint32_t line() const { return line_; }
  std::uint32_t column() const { return static_cast<std::uint32_t>(characters() - lineStart_); }

  // Counter bookkeeping of a newline just consumed / just pushed back. Only
  // one previous line start is kept: only one newline can be pushed back.
  void newlineConsumed() {
    ++line_;
    prevLineStart_ = lineStart_;
    lineStart_ = characters();
  }
  void newlinePushedBack() {
    --line_;
    lineStart_ = prevLineStart_;
  }

  // The buffered window, for scanners that walk runs of characters. After
  // moving the cursor the scanner reports each newline it passed over with
  // newlineConsumed (at the position just after it).
  const unsigned char* cursor() const { return cur_; }
  const unsigned char* limit() const { return end_; }
  void setCursor(const unsigned char* p) { cur_ = p; }
  // Refills an exhausted window; false at the end of input.
  bool refill() { return cur_ != end_ || underflow(); }

  // Counter bookkeeping of `count` newlines that a scanner passed over in the
  // current window without telling each one: `lastStart` and `prevStart` are
  // the window positions just after the last and the second last of them.
  void newlinesConsumed(std::uint32_t count, const unsigned char* lastStart, const unsigned char* prevStart) {
    if (count == 0) return;
    line_ += count;
    prevLineStart_ = count >= 2 ? base_ + static_cast<std::uint64_t>(prevStart - begin_) : lineStart_;
    lineStart_ = base_ + static_cast<std::uint64_t>(lastStart - begin_);
  }

  // A file source reads in text mode: a CR LF pair arrives as one newline.
  // A reader that counts the pairs itself may ask, before the first read, for
  // the characters as they are, in windows that end after a newline where the
  // block holds one (so no CR LF pair and no line is split between windows);
  // false when the source has no such reading. Rewinding ends it.
  virtual bool keepLineEnds() { return false; }
  bool lineEndsKept() const { return lineEndsKept_; }
  // Takes `count` characters off the counters: the CRs of CR LF pairs read
  // with their line ends kept, all before the current line.
  void dropCharacters(std::uint64_t count) {
    base_ -= count;
    lineStart_ -= count;
    prevLineStart_ = prevLineStart_ >= count ? prevLineStart_ - count : 0;
  }

  // Whether rewind can go back to the first character.
  virtual bool rewindable() const { return false; }
  // Starts the source over at its first character with fresh counters; false
  // when the source cannot.
  bool rewind() {
    if (!rewindable()) return false;
    begin_ = cur_ = end_ = nullptr;
    base_ = 0;
    line_ = 1;
    lineStart_ = prevLineStart_ = 0;
    lineEndsKept_ = false;
    return restart();
  }

  // Lets go of the underlying resource once no more input is needed; the
  // counters stay readable.
  virtual void release() {}

 protected:
  CyyInput() = default;

  // Makes [begin, end) the new window. `begin[-1]` must hold the character
  // consumed last (the one putback may return).
  void setWindow(const unsigned char* begin, const unsigned char* end) {
    base_ = characters();
    begin_ = cur_ = begin;
    end_ = end;
  }
  // Called with an exhausted window: installs the next one and returns true,
  // or returns false at the end of input.
  virtual bool underflow() = 0;
  // Goes back to the first character and installs an empty window (the
  // counters are already reset); the next underflow reads the first window
  // again. Sources that can go back override it together with rewindable.
  virtual bool restart() { return false; }

  int state_ = kSettingUp;
  bool lineEndsKept_ = false;

 private:
  const unsigned char* begin_ = nullptr;
  const unsigned char* cur_ = nullptr;
  const unsigned char* end_ = nullptr;
  std::uint64_t base_ = 0;           // characters before begin_
  std::uint32_t line_ = 1;           // starts at 1: a file of n newlines ends on line n + 1
  std::uint64_t lineStart_ = 0;      // character count just after the last newline
  std::uint64_t prevLineStart_ = 0;  // the same for the newline before it
};

}  // namespace zem
