// Reading exports: navigation by number and by name, counts, names, typed
// getters and predicates. Each checks its argument, asks the node one
// question and passes the answer on; an invalid argument gives a fixed neutral
// result with the check's code and report.
#include "api/api_support.hpp"
#include "frame/identity.hpp"
#include "model/values.hpp"
#include "zem/zem.h"

using namespace zem;
using zem::api::onNode;
using zem::api::toCaller;
using zem::api::treeOf;

extern "C" {

// ---- From a document handle -------------------------------------------------

void* zemGetRoot(void* handle) {
  CzemData* data = checkData(handle, true);
  return data != nullptr ? toCaller(data->root()) : nullptr;
}

int zemGetNoTargets(void* handle) {
  CzemTargetList* root = treeOf(handle);
  return root != nullptr ? root->GetNoSections() : 0;
}

void* zemTargetByNum(void* handle, unsigned int n) {
  CzemTargetList* root = treeOf(handle);
  return root != nullptr ? toCaller(root->SectionByNum(n)) : nullptr;
}

void* zemTargetByNameNum(void* handle, const char* name, unsigned int instance) {
  CzemTargetList* root = treeOf(handle);
  return root != nullptr ? toCaller(root->SectionByNameNum(name, instance)) : nullptr;
}

// ---- Children of a node -------------------------------------------------------

void* zemSectionByNum(void* node, unsigned int n) {
  return onNode(node, static_cast<void*>(nullptr), [n](CzemNode& x) { return toCaller(x.SectionByNum(n)); });
}

void* zemSectionByNameNum(void* node, const char* name, unsigned int instance) {
  return onNode(node, static_cast<void*>(nullptr),
                [=](CzemNode& x) { return toCaller(x.SectionByNameNum(name, instance)); });
}

void* zemKeywordByNum(void* node, unsigned int n) {
  return onNode(node, static_cast<void*>(nullptr), [n](CzemNode& x) { return toCaller(x.KeywordByNum(n)); });
}

void* zemKeywordByNameNum(void* node, const char* name, unsigned int instance) {
  return onNode(node, static_cast<void*>(nullptr),
                [=](CzemNode& x) { return toCaller(x.KeywordByNameNum(name, instance)); });
}

void* zemParamByNum(void* node, unsigned int n) {
  return onNode(node, static_cast<void*>(nullptr), [n](CzemNode& x) { return toCaller(x.ParamByNum(n)); });
}

void* zemNodeByNum(void* node, unsigned int n) {
  return onNode(node, static_cast<void*>(nullptr), [n](CzemNode& x) { return toCaller(x.NodeByNum(n)); });
}

// ---- Counts, numbers, names ---------------------------------------------------

int zemGetSyntaxClass(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.GetSyntaxClass(); });
}
int zemGetNoSections(void* node) {
  return onNode(node, -1, [](CzemNode& x) { return x.GetNoSections(); });
}
int zemGetNoKeywords(void* node) {
  return onNode(node, -1, [](CzemNode& x) { return x.GetNoKeywords(); });
}
int zemGetNoParams(void* node) {
  return onNode(node, -1, [](CzemNode& x) { return x.GetNoParams(); });
}
int zemGetNoNodes(void* node) {
  return onNode(node, -1, [](CzemNode& x) { return x.GetNoNodes(); });
}
int zemGetNoInstances(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.GetNoInstances(); });
}
int zemGetInstanceNo(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return static_cast<int>(x.GetInstanceNo()); });
}
int zemGetLevel(void* node) {
  return onNode(node, -1, [](CzemNode& x) { return x.level(); });
}

const char* zemGetName(void* node) {
  return onNode(node, kEmptyText, [](CzemNode& x) { return x.GetName(); });
}
const char* zemGetNameGlb(void* node) {
  return onNode(node, kEmptyText, [](CzemNode& x) { return x.GetFullName(); });
}

// ---- Values ---------------------------------------------------------------------

int zemGetInt(void* node) {
  return onNode(node, -1, [](CzemNode& x) { return x.GetInt(); });
}
float zemGetFloat(void* node) {
  return onNode(node, -1.0f, [](CzemNode& x) { return x.GetFloat(); });
}
double zemGetDouble(void* node) {
  return onNode(node, -1.0, [](CzemNode& x) { return x.GetDouble(); });
}
int zemGetBool(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.GetBool(); });
}
const char* zemGetString(void* node) {
  return onNode(node, kEmptyText, [](CzemNode& x) { return x.GetString(); });
}

// Without an out-argument only the node is checked: its code is stored all the
// same, and a CLOB's cursor does not move.
void zemPasGetDoubleProc(void* node, double* out) {
  if (out == nullptr) {
    checkNode(node, false);
    return;
  }
  *out = zemGetDouble(node);
}

void zemPasGetFloatProc(void* node, float* out) {
  if (out == nullptr) {
    checkNode(node, false);
    return;
  }
  *out = zemGetFloat(node);
}

int zemGetName2(void* node, char* buffer, int size) { return copyText(zemGetName(node), buffer, size); }
int zemGetNameGlb2(void* node, char* buffer, int size) { return copyText(zemGetNameGlb(node), buffer, size); }
int zemGetString2(void* node, char* buffer, int size) { return copyText(zemGetString(node), buffer, size); }

// ---- Predicates -------------------------------------------------------------------

// Target lists answer too, so the root counts as a section here.
int zemIsSection(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsTargetList(); });
}
int zemIsKeyword(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsKeyword(); });
}
int zemIsParam(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsParam(); });
}
int zemIsNumeric(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsNumeric(); });
}
int zemIsInt(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsInt(); });
}
int zemIsFloat(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsFloat(); });
}
int zemIsDouble(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsDouble(); });
}
int zemIsBool(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsBool(); });
}
int zemIsString(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsString(); });
}

int zemIsTarget(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.parent() != nullptr && x.parent()->parent() == nullptr ? 1 : 0; });
}

// Tells a value stored as an integer from a real that happens to be integral.
int zemNumericIsIntType(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return dynamic_cast<CzemInt*>(&x) != nullptr ? 1 : 0; });
}

}  // extern "C"
