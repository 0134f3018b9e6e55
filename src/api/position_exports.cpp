// Source positions of loaded sections and keywords, for tools that point users
// at the text behind a node.
#include "api/api_support.hpp"
#include "zem/zem.h"

using namespace zem;

extern "C" {

int zemGetNodeSpan(void* node, int* line, int* column, int* endLine, int* endColumn) {
  const SourceSpan at = api::onNode(node, SourceSpan{}, [](CzemNode& x) { return x.sourceSpan(); });
  if (line != nullptr) *line = static_cast<int>(at.start.line);
  if (column != nullptr) *column = static_cast<int>(at.start.column);
  if (endLine != nullptr) *endLine = static_cast<int>(at.end.line);
  if (endColumn != nullptr) *endColumn = static_cast<int>(at.end.column);
  return at.start.line != 0 ? 1 : 0;
}

}  // extern "C"
