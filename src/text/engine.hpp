// The parse engine base: owns the character source, reads through it while
// keeping the counters, skips comments, and holds the first error of a parse.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "text/input.hpp"

namespace zem {

class CyyParser {
 public:
  static constexpr int kEnd = -1;  // readChar's answer at the end of input

  explicit CyyParser(CyyInput* input) : input_(input) {}
  virtual ~CyyParser() = default;
  CyyParser(const CyyParser&) = delete;
  CyyParser& operator=(const CyyParser&) = delete;

  virtual int parse(int keepTokens) = 0;

  // ---- the error record: the first recorded error wins ----
  void setError(const char* message);
  bool hasError() const { return hasError_; }
  const std::string& errorMessage() const { return errorMessage_; }
  std::uint32_t errorLine() const { return errorLine_; }
  std::uint32_t errorPosition() const { return errorPosition_; }

  // ---- statistics ----
  const CyyInput& input() const { return *input_; }
  std::uint32_t comments() const { return comments_; }
  // Token texts kept: every token that carries text adds one until the parse
  // releases them.
  std::uint32_t tokenTexts() const { return tokenTexts_; }

 protected:
  int readChar() {
    const int c = input_->get();
    if (c == '\n') input_->newlineConsumed();
    return c;
  }
  // Pushing back the end of input does nothing, so a token that ends at the
  // end of the file leaves the counters as they were.
  void unreadChar(int c) {
    if (c == kEnd) return;
    input_->putback();
    if (c == '\n') input_->newlinePushedBack();
  }
  int peekChar() { return input_->peek(); }

  // Skips a block comment whose opener "/*" has been consumed; inner openers
  // nest. Counts every comment that closes. False when the input ends first.
  bool skipBlockComment();
  // Skips the rest of a line comment, up to (not including) its newline.
  void skipLineComment();

  CyyInput& in() { return *input_; }
  void releaseTokenTexts() { tokenTexts_ = 0; }
  void keepTokenText() { ++tokenTexts_; }
  // Counts of a scanner that reads past comments and text tokens on its own.
  void addComments(std::uint32_t count) { comments_ += count; }
  void addTokenTexts(std::uint32_t count) { tokenTexts_ += count; }
  // Forgets the error record and the counts, for a parse that starts over.
  void resetRecord() {
    hasError_ = false;
    errorMessage_.clear();
    errorLine_ = errorPosition_ = 0;
    comments_ = tokenTexts_ = 0;
  }

 private:
  std::unique_ptr<CyyInput> input_;
  std::uint32_t errorLine_ = 0;
  std::string errorMessage_;
  bool hasError_ = false;
  std::uint32_t errorPosition_ = 0;
  std::uint32_t comments_ = 0;
  std::uint32_t tokenTexts_ = 0;
};

}  // namespace zem
