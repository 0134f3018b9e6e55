#include "source_text.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace zemtool {

bool SourceText::read(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  if (in.bad()) return false;
  bytes_ = all.str();
  // The loader reads a UTF-8 byte-order mark as absent, so columns of the
  // first line start after it.
  starts_.assign(1, bytes_.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
  for (std::size_t i = 0; i < bytes_.size(); ++i)
    if (bytes_[i] == '\n') starts_.push_back(i + 1);
  return true;
}

std::size_t SourceText::offset(int line, int column) const {
  if (line < 1) return starts_[0];
  if (static_cast<std::size_t>(line) > starts_.size()) return bytes_.size();
  const std::size_t at =
      starts_[static_cast<std::size_t>(line) - 1] + static_cast<std::size_t>(std::max(column, 1)) - 1;
  return std::min(at, bytes_.size());
}

std::size_t SourceText::lineStart(std::size_t offset) const {
  auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return it == starts_.begin() ? 0 : *(it - 1);
}

std::size_t SourceText::nextLineStart(std::size_t offset) const {
  auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return it == starts_.end() ? bytes_.size() : *it;
}

std::string SourceText::lineEndAt(std::size_t offset) const {
  const std::size_t next = nextLineStart(offset);
  if (next == bytes_.size() && (next == 0 || bytes_[next - 1] != '\n')) {
    // The last line has no end of its own: follow the file's first line end.
    const std::size_t lf = bytes_.find('\n');
    return lf != std::string::npos && lf > 0 && bytes_[lf - 1] == '\r' ? "\r\n" : "\n";
  }
  return next >= 2 && bytes_[next - 2] == '\r' ? "\r\n" : "\n";
}

int SourceText::lineLength(int line) const {
  if (line < 1 || static_cast<std::size_t>(line) > starts_.size()) return 0;
  const std::size_t start = starts_[static_cast<std::size_t>(line) - 1];
  std::size_t end =
      static_cast<std::size_t>(line) < starts_.size() ? starts_[static_cast<std::size_t>(line)] - 1 : bytes_.size();
  if (end > start && end < bytes_.size() && bytes_[end] == '\n' && bytes_[end - 1] == '\r') --end;
  return static_cast<int>(end - start);
}

void SourceText::pointAtCharacter(int& line, int& column) const {
  if (column > 0) return;
  if (line > 1) {
    --line;
    column = lineLength(line) + 1;  // the line end that was read last
  } else {
    line = 1;
    column = 1;
  }
}

}  // namespace zemtool
