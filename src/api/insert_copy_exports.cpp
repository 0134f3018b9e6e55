// The whole-node exports: inserting a copy beside a section, overwriting a
// node with a copy, copying a file. Problems are messages only.
#include <new>

#include "api/api_support.hpp"
#include "edit/whole_node.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

using namespace zem;

extern "C" {

void zemInsert(void* pending, void* relative, int before) {
  CzemNode* p = checkNode(pending, false);
  CzemNode* r = checkNode(relative, false);
  if (p == nullptr || r == nullptr) return;
  try {
    edit::insertBeside(*p, *r, before != 0);
  } catch (const std::bad_alloc&) {
    voxZemMsg("zemInsert error", 1, nullptr);
  }
}

void zemCopy(void* source, void* destination) {
  CzemNode* s = checkNode(source, false);
  CzemNode* d = checkNode(destination, false);
  if (s == nullptr || d == nullptr) return;
  try {
    edit::copyNode(*s, *d);
  } catch (const std::bad_alloc&) {
    voxZemAPE("zemCopy: out of memory");
  }
}

int zemFileCopy(const char* inFile, const char* outFile) {
  try {
    return edit::copyFile(inFile, outFile);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

}  // extern "C"
