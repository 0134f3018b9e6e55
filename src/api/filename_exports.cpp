// Exports of file-name values and of the document's anchor file.
#include "frame/checks.hpp"
#include "frame/error_state.hpp"
#include "frame/writable.hpp"
#include "frame/identity.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"
#include "zem/zem.h"

using namespace zem;

extern "C" {

int zemIsFilename(void* node) {
  CzemNode* n = checkNode(node, false);
  return n != nullptr ? n->IsFilename() : 0;
}

const char* zemGetFilename(void* node) {
  CzemNode* n = checkNode(node, false);
  return n != nullptr ? n->GetFilename() : kEmptyText;
}

int zemGetFilename2(void* node, char* buffer, int size) { return copyText(zemGetFilename(node), buffer, size); }

const char* zemGetFilenameString(void* node) {
  CzemNode* n = checkNode(node, false);
  return n != nullptr ? n->GetFilenameString() : kEmptyText;
}

void zemSetFilename(void* node, const char* name) {
  CzemNode* n = checkNode(node, false);
  if (n == nullptr || name == nullptr || n->IsFilename() == 0) return;
  // A name that would not read back is refused; the value stays as it was.
  if (!isWritableFilename(name)) {
    storeError(kErrParameter);
    return;
  }
  // Every node answering IsFilename is a parameter, so this check cannot fail.
  if (CzemParam* param = checkParam(static_cast<CzemBase*>(n), true)) param->setValueText(name);
}

void zemSetAnchorFilename(void* node, const char* name) {
  CzemNode* n = checkNode(node, false);
  if (n == nullptr || name == nullptr) return;
  CzemNode* top = n->top();
  // Only a target list (or section) holds an anchor; a detached value or
  // keyword has no document to anchor.
  if (top->IsTargetList() != 0) static_cast<CzemTargetList*>(top)->setAnchor(name);
}

const char* zemGetAnchorFilename(void* node) {
  CzemNode* n = checkNode(node, false);
  // Only the node's own anchor counts: no climb to the root here.
  return n != nullptr && n->IsTargetList() != 0 ? n->GetAnchorFilename() : kEmptyText;
}

int zemGetAnchorFilename2(void* node, char* buffer, int size) {
  return copyText(zemGetAnchorFilename(node), buffer, size);
}

}  // extern "C"
