#include "results/result_file.hpp"

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/writable.hpp"
#include "model/named_nodes.hpp"
#include "model/value_factory.hpp"
#include "model/values.hpp"
#include "paths/path_ops.hpp"
#include "results/result_folder.hpp"

namespace zem {

bool isStorableResultFilename(std::string_view name) { return isRelativePath(name) || isWritableFilename(name); }

void addResultFilename(CzemData& data, std::string_view name) {
  if (isRelativePath(name)) {
    data.appendValue(new CzemString(name));
    return;
  }
  if (!isWritableFilename(name)) {
    data.buildingError(kInvalidFilename);
    return;
  }
  data.appendValue(makeFilenameValue(name));
}

const char* resultFilename(void* value) {
  CzemNode* node = checkNode(value, false);
  if (node != nullptr && node->IsString() != 0) return node->GetString();
  node = checkNode(value, false);
  return node != nullptr ? node->GetFilename() : kEmptyText;
}

ResultPath resultFilePath(void* value) {
  ResultPath result;
  CzemNode* node = checkNode(value, false);
  std::optional<std::string> path;
  if (node != nullptr && node->IsString() != 0) {
    const std::string name(node->GetString());
    if (auto folder = documentResultFolder(documentSettings(value))) {
      if (auto joined = appendPath(*folder, name)) path = canonicalizePath(*joined);
    }
  } else {
    node = checkNode(value, false);
    const char* name = node != nullptr ? node->GetFilename() : kEmptyText;
    if (name == nullptr) return result;
    path = std::string(name);
  }
  if (!path || path->size() >= kMaxPath) {
    result.state = ResultPath::kRefused;
    return result;
  }
  result.state = ResultPath::kPath;
  result.path = std::move(*path);
  return result;
}

const char* keepResultPath(CzemNode& value, std::string path) {
  if (CzemTargetList* root = settingsHolder(value)) {
    std::string& kept = root->resultPathOf(&value);
    kept = std::move(path);
    return kept.c_str();
  }
  thread_local std::string detached;
  detached = std::move(path);
  return detached.c_str();
}

}  // namespace zem
