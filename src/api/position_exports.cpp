// Source positions of loaded sections and keywords, for tools that point users
// at the text behind a node.
#include "api/api_support.hpp"
#include "zem/zem.h"

using namespace zem;

extern "C" {

int zemGetNodeSpan(void* node, int* line, int* column, int* endLine, int* endColumn) {
  for (int* out : {line, column, endLine, endColumn})
    if (out != nullptr) *out = 0;
  return api::onNode(node, 0, [](CzemNode&) { return 0; });
}

}  // extern "C"
