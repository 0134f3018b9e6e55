// A parameter file's bytes, with the map between the loader's positions and
// byte offsets.
#pragma once

#include <string>
#include <vector>

namespace zemtool {

// Lines end at LF, so a CR LF pair is one line end. Positions are the
// loader's: 1-based lines, columns counting bytes of the line, a carriage
// return before a line feed and a byte-order mark at the start not counted.
class SourceText {
 public:
  bool read(const std::string& fileName);
  const std::string& bytes() const { return bytes_; }
  // The offset of a 1-based line and column, clamped to the text.
  std::size_t offset(int line, int column) const;
  std::size_t lineStart(std::size_t offset) const;
  // The offset just after the line end of the line holding `offset` (the text's end on the last line).
  std::size_t nextLineStart(std::size_t offset) const;
  // The line end used by the line holding `offset`: CR LF or LF (LF on a last line without one).
  std::string lineEndAt(std::size_t offset) const;
  // The number of columns of a 1-based line, without its line end.
  int lineLength(int line) const;
  int lines() const { return static_cast<int>(starts_.size()); }
  // A loader position made to point at a character: column 0 (the place
  // just after a line end, where end-of-file errors stand) becomes the end
  // of the line before.
  void pointAtCharacter(int& line, int& column) const;

 private:
  std::string bytes_;
  std::vector<std::size_t> starts_;  // starts_[0] is after a byte-order mark
};

}  // namespace zemtool
