// Small helpers shared by the reading, building and writing exports: turning
// nodes back into caller pointers, reaching a document's tree, and the common
// plain/quiet pattern of the building calls.
#pragma once

#include <new>
#include <string_view>

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"

namespace zem::api {

// Callers hold every library object through CzemBase, which the checks expect.
inline void* toCaller(CzemNode* node) { return node != nullptr ? static_cast<CzemBase*>(node) : nullptr; }

// A caller's text argument; a null pointer reads as the empty text.
inline std::string_view textArg(const char* text) { return std::string_view(text != nullptr ? text : ""); }

// Applies the node check (reporting) and, if it passes, `op` to the node;
// otherwise yields the export's neutral result.
template <typename Result, typename Op>
Result onNode(void* node, Result neutral, Op op) {
  CzemNode* checked = checkNode(node, false);
  return checked != nullptr ? op(*checked) : neutral;
}

// The tree of a document handle (handle check reporting). A load whose parse
// failed holds no tree; that fails as the node check of the missing root.
inline CzemTargetList* treeOf(void* handle) {
  CzemData* data = checkData(handle, false);
  if (data == nullptr) return nullptr;
  CzemTargetList* root = data->root();
  return checkNode(root != nullptr ? static_cast<CzemBase*>(root) : nullptr, false) != nullptr ? root : nullptr;
}

// Which handles a building call accepts.
enum class Builder {
  kAnyDocument,  // load or building handle; the quiet variant checks quietly
  kCreatedOnly,  // handles made by zemCreate; the check always reports
};

inline CzemData* builderOf(void* handle, Builder kind, bool quiet) {
  if (kind == Builder::kCreatedOnly) return checkCreate(handle);
  return checkData(handle, quiet);
}

// Runs one building step; running out of memory is a building failure, not an exception to the caller.
template <typename Step>
void runStep(CzemData& data, Step& step) {
  try {
    step(data);
  } catch (const std::bad_alloc&) {
    data.buildingError("Out of memory");
  }
}

// The plain variant: checks the handle and builds; failures are reported.
template <typename Step>
void buildPlain(void* handle, Builder kind, Step step) {
  if (CzemData* data = builderOf(handle, kind, false)) runStep(*data, step);
}

// The quiet variant: makes the handle silent for good, builds, and hands back
// (and clears) the builder status: 0, or 2000 after any failure since the last
// quiet call; 1005 for an invalid handle.
template <typename Step>
int buildQuiet(void* handle, Builder kind, Step step) {
  CzemData* data = builderOf(handle, kind, true);
  if (data == nullptr) return kErrHandle;
  data->setSilent();
  runStep(*data, step);
  return data->takeStatus();
}

}  // namespace zem::api
