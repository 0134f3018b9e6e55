// Where the text of a loaded node stands in its file, so that tools can point
// users at it and edit it in place. Lines and columns count from 1 as the
// loader counts them; zero means the node has no place in a file.
#pragma once

#include <cstdint>

namespace zem {

// Trivial, so that token values of the grammar engine can hold it.
struct SourcePoint {
  std::uint32_t line;
  std::uint32_t column;
};

struct SourceSpan {
  SourcePoint start;  // the node's first character
  SourcePoint end;    // just after its last character
};

// The span as a loaded section or keyword keeps it: one word for the usual
// place (a start line below 2^26 and column below 2^9, an end up to 2^14
// lines further and before column 2^14), a record of its own otherwise.
// The loader sets the start first and the end when the node ends.
class PackedSpan {
 public:
  PackedSpan() = default;
  ~PackedSpan() { delete wide(); }
  PackedSpan(const PackedSpan&) = delete;
  PackedSpan& operator=(const PackedSpan&) = delete;
  // Whether the span holds a record that its destruction frees.
  bool ownsMemory() const { return wide() != nullptr; }

  // Empty (start line 0) when no start was set.
  SourceSpan get() const {
    if (const SourceSpan* w = wide()) return *w;
    if (word_ == 0) return {};
    const auto line = field(kStartLine, kLineBits);
    const auto endColumn = field(kEndColumn, kColumnBits);
    // An end column of 0 is an end not yet set.
    const SourcePoint end =
        endColumn == 0 ? SourcePoint{0, 0} : SourcePoint{line + field(kEndDelta, kDeltaBits), endColumn};
    return {{line, field(kStartColumn, kStartColumnBits)}, end};
  }

  // Back to no span: a node whose content was copied over no longer stands
  // where it was loaded from.
  void clear() {
    delete wide();
    word_ = 0;
  }
  // The loader sets a start on a node without a span, and then the end a
  // few lines below it: both go into the word directly.
  void setStart(SourcePoint start) {
    if (word_ == 0 && fits(start.line, kLineBits) && fits(start.column, kStartColumnBits)) {
      word_ = 1 | std::uint64_t{start.line} << kStartLine | std::uint64_t{start.column} << kStartColumn;
      return;
    }
    SourceSpan span = get();
    span.start = start;
    store(span);
  }
  void setEnd(SourcePoint end) {
    if ((word_ & 1) != 0) {
      const std::uint32_t line = field(kStartLine, kLineBits);
      if (end.line >= line && fits(end.line - line, kDeltaBits) && end.column != 0 && fits(end.column, kColumnBits)) {
        word_ = (word_ & ((std::uint64_t{1} << kEndDelta) - 1)) | std::uint64_t{end.line - line} << kEndDelta |
                std::uint64_t{end.column} << kEndColumn;
        return;
      }
    }
    SourceSpan span = get();
    span.end = end;
    store(span);
  }

 private:
  // Bit 0 tells a packed word (1) from a record's address (0, aligned).
  static constexpr unsigned kLineBits = 26, kStartColumnBits = 9, kDeltaBits = 14, kColumnBits = 14;
  static constexpr unsigned kStartLine = 1, kStartColumn = kStartLine + kLineBits;
  static constexpr unsigned kEndDelta = kStartColumn + kStartColumnBits, kEndColumn = kEndDelta + kDeltaBits;
  static_assert(kEndColumn + kColumnBits == 64);

  static bool fits(std::uint32_t value, unsigned bits) { return value < (std::uint32_t{1} << bits); }
  std::uint32_t field(unsigned at, unsigned bits) const {
    return static_cast<std::uint32_t>(word_ >> at) & ((std::uint32_t{1} << bits) - 1);
  }
  SourceSpan* wide() const {
    return word_ != 0 && (word_ & 1) == 0 ? reinterpret_cast<SourceSpan*>(static_cast<std::uintptr_t>(word_)) : nullptr;
  }
  void store(const SourceSpan& span) {
    const SourcePoint start = span.start, end = span.end;
    const bool endUnset = end.line == 0 && end.column == 0;
    if (fits(start.line, kLineBits) && fits(start.column, kStartColumnBits) &&
        (endUnset || (end.line >= start.line && fits(end.line - start.line, kDeltaBits) && end.column != 0 &&
                      fits(end.column, kColumnBits)))) {
      delete wide();
      word_ = 1 | std::uint64_t{start.line} << kStartLine | std::uint64_t{start.column} << kStartColumn;
      if (!endUnset)
        word_ |= std::uint64_t{end.line - start.line} << kEndDelta | std::uint64_t{end.column} << kEndColumn;
    } else if (SourceSpan* w = wide()) {
      *w = span;
    } else {
      word_ = reinterpret_cast<std::uintptr_t>(new SourceSpan(span));
    }
  }

  std::uint64_t word_ = 0;
};

}  // namespace zem
