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

}  // namespace zem
