// Diagnostics exports: visiting every node of a document, dumping a tree.
#include "api/api_support.hpp"
#include "diag/dump.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

using namespace zem;

extern "C" {

void zemExplore(void* handle, ZemVisitFn callback) {
  CzemTargetList* root = api::treeOf(handle);
  if (root == nullptr || callback == nullptr) return;
  auto call = [](CzemNode* node, void* fn) { (*static_cast<ZemVisitFn*>(fn))(static_cast<CzemBase*>(node)); };
  root->Visit(Visitor{call, &callback});
}

void zemDump(void* target, const char* fileName) {
  CzemBase* object = libraryObject(target);
  CzemNode* start = object != nullptr && object->isNode() ? static_cast<CzemNode*>(object) : nullptr;
  if (start == nullptr && object != nullptr && object->asData() != nullptr) start = object->asData()->root();
  if (start == nullptr) {
    failWith(kErrNode, "zemDump: bad argument", false);
    return;
  }
  diag::dumpTree(*start, fileName);
}

}  // extern "C"
