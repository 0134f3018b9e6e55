// Diagnostics: a readable listing of a tree, one line per node, built from
// the public query calls so that it shows what a caller of the library sees.
#pragma once

#include <string>

namespace zem {

class CzemNode;

namespace diag {

// The listing line of one node, without its line end.
std::string dumpLine(void* node);

// Writes the listing of `start` and everything below it to `fileName`
// (replaced); a root lists only its descendants. A file that cannot be opened
// gets nothing, without a report.
void dumpTree(CzemNode& start, const char* fileName);

}  // namespace diag
}  // namespace zem
