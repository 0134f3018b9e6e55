// Checked access: every export turns its untyped pointer arguments into the
// expected class here. A null pointer or an object of another class fails with
// the check's code (first error wins) and, unless quiet, its report.
#pragma once

namespace zem {

class CzemBase;
class CzemData;
class CzemCreate;
class CzemNode;
class CzemKeyword;
class CzemSection;
class CzemTargetList;
class CzemParam;

// A caller's pointer as a library object, or null for null and for memory
// that holds no object (its first word, the class, is zero).
CzemBase* libraryObject(void* p);

CzemData* checkData(void* p, bool quiet);              // 1005 "Invalid zemHandle (CzemData)"
CzemCreate* checkCreate(void* p);                      // 1005 "Invalid zemHandle (CzemCreate)", always reports
CzemNode* checkNode(void* p, bool quiet);              // 1006 "Invalid zemNode"
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
