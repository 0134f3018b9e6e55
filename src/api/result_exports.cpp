// Exports of result folders and result file values.
#include "api/api_support.hpp"
#include "frame/writable.hpp"
#include "results/result_file.hpp"
#include "results/result_folder.hpp"
#include "zem/zem.h"

using namespace zem;
using zem::api::Builder;
using zem::api::buildPlain;
using zem::api::buildQuiet;
using zem::api::textArg;
using zem::api::treeOf;

namespace {

auto addResultFile(const char* name) {
  return [name](CzemData& d) { addResultFilename(d, textArg(name)); };
}

// A folder setting is written as a file name: one that would not read back
// is refused (1012) and the settings stay as they were.
bool acceptFolder(const char* folder) {
  if (isWritableFilename(textArg(folder))) return true;
  storeError(kErrParameter);
  return false;
}

}  // namespace

extern "C" {

void zemGetResultFolderPath(void* node, char* out) { writePathOut(documentResultFolder(documentSettings(node)), out); }

void zemConstructResultFolderPathName(int useCustom, const char* customFolder, const char* resultRoot,
                                      const char* setupFile, char* out) {
  writePathOut(composeResultFolder(useCustom, customFolder, resultRoot, setupFile), out);
}

void zemGetCustomResultFolder(void* node, int* useCustom, char* folder) {
  CzemNode* n = checkNode(node, false);
  CzemTargetList* root = n != nullptr ? settingsHolder(*n) : nullptr;
  if (root == nullptr) return;
  if (useCustom != nullptr) *useCustom = root->useCustom();
  writePathOut(std::string(root->customFolder().view()), folder);
}

void zemSetCustomResultFolder(void* handle, int useCustom, const char* folder) {
  CzemTargetList* root = treeOf(handle);
  if (root != nullptr && acceptFolder(folder)) {
    root->setUseCustom(useCustom);
    root->setCustomFolder(textArg(folder));
  }
}

const char* zemGetProjectResultRoot(void* node) {
  CzemNode* n = checkNode(node, false);
  CzemTargetList* root = n != nullptr ? settingsHolder(*n) : nullptr;
  return root != nullptr ? root->resultRoot().c_str() : kEmptyText;
}

void zemSetProjectResultRoot(void* handle, const char* folder) {
  CzemTargetList* root = treeOf(handle);
  if (root != nullptr && acceptFolder(folder)) root->setResultRoot(textArg(folder));
}

void zemAddResultFilename(void* handle, const char* name) {
  buildPlain(handle, Builder::kAnyDocument, addResultFile(name));
}

int zemAddResultFilenameS(void* handle, const char* name) {
  return buildQuiet(handle, Builder::kAnyDocument, addResultFile(name));
}

const char* zemGetResultFilename(void* node) { return node != nullptr ? resultFilename(node) : nullptr; }

void zemGetResultFilenamePath(void* node, char* out) {
  if (node == nullptr || out == nullptr) return;
  const ResultPath result = resultFilePath(node);
  // A value that is neither a string nor a file name has no path: out stays as it was.
  if (result.state == ResultPath::kNoText) return;
  writePathOut(result.state == ResultPath::kPath ? std::optional<std::string>(result.path) : std::nullopt, out);
}

}  // extern "C"
