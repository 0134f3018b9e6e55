// Checked access: every export turns its untyped pointer arguments into the
// expected class here. A null pointer or an object of another class fails with
// the check's code (first error wins) and, unless quiet, its report.
#pragma once

#include <cstring>

#include "frame/base.hpp"
#include "model/node.hpp"

namespace zem {

class CzemData;
class CzemCreate;
class CzemNode;
class CzemKeyword;
class CzemSection;
class CzemTargetList;
class CzemParam;

// A caller's pointer as a library object, or null for null and for memory
// that holds no object. The contract admits null or a live library object;
// memory that was never one (a zeroed buffer) has a zero first word, where
// every library object keeps its class, and fails like null instead of being
// asked for a class it does not have.
inline CzemBase* libraryObject(void* p) {
  if (p == nullptr) return nullptr;
  void* classWord = nullptr;
  std::memcpy(&classWord, p, sizeof classWord);
  return classWord != nullptr ? static_cast<CzemBase*>(p) : nullptr;
}

// Reports the failed node check (1006 "Invalid zemNode").
void failNodeCheck(bool quiet);

CzemData* checkData(void* p, bool quiet);  // 1005 "Invalid zemHandle (CzemData)"
CzemCreate* checkCreate(void* p);          // 1005 "Invalid zemHandle (CzemCreate)", always reports
// 1006 "Invalid zemNode". Inline: the getters that walk a tree call it for
// every node they are given.
inline CzemNode* checkNode(void* p, bool quiet) {
  CzemBase* base = libraryObject(p);
  CzemNode* node = base != nullptr && base->isNode() ? static_cast<CzemNode*>(base) : nullptr;
  if (node == nullptr) [[unlikely]]
    failNodeCheck(quiet);
  return node;
}
CzemKeyword* checkKeyword(void* p, bool quiet);        // 1007 "Invalid zem named node"
CzemSection* checkSection(void* p, bool quiet);        // 1009 "Invalid zem section"
CzemTargetList* checkTargetList(void* p, bool quiet);  // 1011 "Invalid zem target list"
CzemParam* checkParam(void* p, bool quiet);            // 1012 "Invalid zem parameter"
// A node answering IsClob: a non-node fails as checkNode does, another node
// with 1006 "Invalid CLOB object".
CzemNode* checkClob(void* p, bool quiet);
// The current CLOB of a document handle (null without one, no error); an
// invalid handle fails as checkData does.
CzemNode* currentClobOf(void* handle, bool quiet);

}  // namespace zem
