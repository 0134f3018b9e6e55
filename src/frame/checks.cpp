#include "frame/checks.hpp"

#include <cstring>

#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"

namespace zem {

namespace {

template <typename T>
T* checked(void* p, int code, const char* text, bool quiet) {
  CzemBase* base = libraryObject(p);
  T* object = base != nullptr ? dynamic_cast<T*>(base) : nullptr;
  if (object == nullptr) failWith(code, text, quiet);
  return object;
}

}  // namespace

CzemData* checkData(void* p, bool quiet) {
  CzemBase* base = libraryObject(p);
  CzemData* data = base != nullptr ? base->asData() : nullptr;
  if (data == nullptr) failWith(kErrHandle, "Invalid zemHandle (CzemData)", quiet);
  return data;
}
CzemCreate* checkCreate(void* p) { return checked<CzemCreate>(p, kErrHandle, "Invalid zemHandle (CzemCreate)", false); }
void failNodeCheck(bool quiet) { failWith(kErrNode, "Invalid zemNode", quiet); }
CzemKeyword* checkKeyword(void* p, bool quiet) {
  return checked<CzemKeyword>(p, kErrNamedNode, "Invalid zem named node", quiet);
}
CzemSection* checkSection(void* p, bool quiet) {
  return checked<CzemSection>(p, kErrSection, "Invalid zem section", quiet);
}
CzemTargetList* checkTargetList(void* p, bool quiet) {
  return checked<CzemTargetList>(p, kErrTargetList, "Invalid zem target list", quiet);
}
CzemParam* checkParam(void* p, bool quiet) {
  return checked<CzemParam>(p, kErrParameter, "Invalid zem parameter", quiet);
}

CzemNode* checkClob(void* p, bool quiet) {
  CzemNode* node = checkNode(p, quiet);
  if (node == nullptr) return nullptr;
  if (node->IsClob() == 0) {
    failWith(kErrNode, "Invalid CLOB object", quiet);
    return nullptr;
  }
  return node;
}

CzemNode* currentClobOf(void* handle, bool quiet) {
  CzemData* data = checkData(handle, quiet);
  return data != nullptr ? data->currentClob() : nullptr;
}

}  // namespace zem
