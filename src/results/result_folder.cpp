#include "results/result_folder.hpp"

#include <cstring>

#include "frame/checks.hpp"
#include "model/named_nodes.hpp"
#include "paths/path_ops.hpp"
#include "results/folder_template.hpp"

namespace zem {
namespace {

char separatorFor(std::string_view base) { return isWindowsStylePath(base) ? '\\' : '/'; }

CzemTargetList* holderOf(void* node) {
  CzemNode* checked = checkNode(node, false);
  return checked != nullptr ? settingsHolder(*checked) : nullptr;
}

}  // namespace

CzemTargetList* settingsHolder(CzemNode& node) {
  CzemNode* top = node.top();
  return top->IsTargetList() != 0 ? static_cast<CzemTargetList*>(top) : nullptr;
}

ResultFolderSettings documentSettings(void* node) {
  ResultFolderSettings s;
  if (CzemTargetList* root = holderOf(node)) {
    s.useCustom = root->useCustom();
    s.customFolder.assign(root->customFolder().view());
  }
  checkNode(node, false);  // the climb to the top of the tree
  if (CzemTargetList* root = holderOf(node)) s.setupFile.assign(root->anchor().view());
  if (CzemTargetList* root = holderOf(node)) s.resultRoot.assign(root->resultRoot().view());
  return s;
}

std::optional<std::string> documentResultFolder(const ResultFolderSettings& s) {
  if (s.useCustom != 0 && !s.customFolder.empty()) return canonicalizePath(s.customFolder);
  if (!s.resultRoot.empty()) {
    const auto folder = expandFolderName(std::string_view(s.setupFile), separatorFor(s.resultRoot));
    if (!folder) return std::nullopt;
    const auto path = appendPath(s.resultRoot, *folder);
    return path ? canonicalizePath(*path) : std::nullopt;
  }
  std::string base = removeFileSpec(s.setupFile);
  if (isRelativePath(base)) {
    auto absolute = combinePaths(kCurrentDirectoryMarker, base);
    if (!absolute) return std::nullopt;
    base = std::move(*absolute);
  }
  const auto folder = expandFolderName(std::string_view(s.setupFile), separatorFor(base));
  if (!folder) return std::nullopt;
  return canonicalizePath(base + *folder);
}

std::optional<std::string> composeResultFolder(int useCustom, const char* customFolder, const char* resultRoot,
                                               const char* setupFile) {
  if (useCustom != 0) {
    std::string folder(customFolder != nullptr ? customFolder : "");
    if (folder.size() >= kMaxPath) return std::nullopt;
    return folder;
  }
  std::optional<std::string_view> setup;
  if (setupFile != nullptr) setup = setupFile;
  const std::string base = resultRoot != nullptr && *resultRoot != '\0'
                               ? std::string(resultRoot)
                               : removeFileSpec(setupFile != nullptr ? setupFile : "");
  const auto folder = expandFolderName(setup, separatorFor(base));
  if (!folder) return std::nullopt;
  const auto path = appendPath(base, *folder);
  return path ? canonicalizePath(*path) : std::nullopt;
}

void writePathOut(const std::optional<std::string>& path, char* out) {
  if (out == nullptr) return;
  if (!path || path->size() >= kMaxPath) {
    out[0] = '\0';
    return;
  }
  std::memcpy(out, path->c_str(), path->size() + 1);
}

}  // namespace zem
