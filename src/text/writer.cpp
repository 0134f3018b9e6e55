#include "text/writer.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <typeinfo>
#include <vector>

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "frame/identity.hpp"
#include "frame/writable.hpp"
#include "model/named_nodes.hpp"
#include "model/value_factory.hpp"
#include "model/values.hpp"
#include "text/output_stream.hpp"
#include "vox/vox.h"

namespace zem {
namespace {

// Where the loader looks for the result-folder settings of a document.
constexpr const char* kSettingsSection = "SYSTEM";
constexpr const char* kResultRootKey = "ResultRootFolder";
constexpr const char* kUseCustomKey = "UseCustomResultFolder";
constexpr const char* kCustomFolderKey = "CustomResultFolder";

// The first keyword `name` of `section`; a new one at the end when it is
// missing and `addMissing`, else null.
CzemKeyword* settingKeyword(CzemSection& section, const char* name, bool addMissing) {
  auto* keyword = static_cast<CzemKeyword*>(section.KeywordByNameNum(name, 1));
  if (keyword == nullptr && addMissing) {
    keyword = new CzemKeyword(name);
    section.addKeyword(keyword);
  }
  return keyword;
}

// Puts `value` first in the keyword's list, in place of a first value of
// another kind. The builder of the tree (if any) forgets the value it replaces.
void replaceFirstValue(CzemKeyword& keyword, CzemNode* value, CzemData* builder) {
  NodeList& values = keyword.children();
  if (!values.empty()) {
    CzemNode* old = values[0];
    if (builder != nullptr) builder->forget(old);
    values.erase(values.begin());
    destroyNode(old);
  }
  values.insert(values.begin(), value);
  value->setParent(&keyword);
  value->setInstanceNo(1);
}

// A folder setting: an existing value that already names the folder keeps its
// text (and identity); an empty setting leaves the keyword as it stands.
void storeFolderSetting(CzemSection& section, const char* name, const Text& folder, CzemData* builder) {
  if (folder.empty()) return;
  CzemKeyword* keyword = settingKeyword(section, name, true);
  CzemNode* first = keyword->NodeByNum(1);
  if (first != nullptr && first->IsFilename() != 0) {
    const char* resolved = first->GetFilename();
    if (resolved == nullptr || folder.view() != resolved) static_cast<CzemParam*>(first)->setValueText(folder.view());
    return;
  }
  replaceFirstValue(*keyword, makeFilenameValue(folder.view()), builder);
}

void storeFlagSetting(CzemSection& section, const char* name, int flag, CzemData* builder) {
  CzemKeyword* keyword = settingKeyword(section, name, flag != 0);
  if (keyword == nullptr) return;
  CzemNode* first = keyword->NodeByNum(1);
  // Only a plain boolean holds its own value; a bound one reads a variable.
  if (first != nullptr && typeid(*first) == typeid(CzemBool)) {
    if ((first->GetBool() != 0) != (flag != 0)) static_cast<CzemBool*>(first)->setValue(flag);
    return;
  }
  replaceFirstValue(*keyword, new CzemBool(flag), builder);
}

void reportFileError(const char* fileName) {
  storeError(kErrFileOpen);
  voxZemMsg("Open error: %", 1, voxString(fileName, nullptr));
}

// Sets a file back to `length` bytes; false for a file that cannot be
// truncated (a device, a pipe), which keeps what reached it.
bool restoreLength(std::FILE* file, off_t length) { return ftruncate(fileno(file), length) == 0; }
bool restoreLength(const char* fileName, off_t length) { return truncate(fileName, length) == 0; }

// A value bound to a caller's variable is read when it is written; a bound
// number that is infinite or NaN then has no form that reads back. The tree
// is walked without recursion, however deep it is.
bool holdsUnwritableNumber(CzemTargetList& root) {
  std::vector<CzemNamedNode*> pending{&root};
  while (!pending.empty()) {
    CzemNamedNode* node = pending.back();
    pending.pop_back();
    for (CzemNode* child : node->children()) {
      if (child->IsParam() == 0) {
        pending.push_back(static_cast<CzemNamedNode*>(child));
        continue;
      }
      const std::type_info& kind = typeid(*child);
      if (kind == typeid(CzemDoubleRef) && !isWritableNumber(child->GetDouble())) return true;
      if (kind == typeid(CzemFloatRef) && !isWritableNumber(child->GetFloat())) return true;
    }
  }
  return false;
}

}  // namespace

std::string formatCreationStamp(const std::tm& local) {
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%d %d:%d:%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
  return stamp;
}

void writeDocumentHeader(OutputStream& out) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  out << "// Created     : " << formatCreationStamp(local);
  out.endLine();
  out << "// DLL         : " << libraryIdentity();
  out.endLine();
  out << "// Version     : " << hostBuildVersion();
  out.endLine();
  out.endLine();
}

void storeResultFolderSettings(CzemTargetList& root) {
  // A document without settings leaves any SYSTEM section exactly as it is.
  if (root.resultRoot().empty() && root.useCustom() == 0 && root.customFolder().empty()) return;
  auto* section = static_cast<CzemSection*>(root.SectionByNameNum(kSettingsSection, 1));
  if (section == nullptr) {
    section = new CzemSection(kSettingsSection);
    root.addSection(section);
  }
  // The settings are updated in place, so values a caller holds stay valid.
  CzemData* builder = root.owner() != nullptr ? root.owner()->asData() : nullptr;
  storeFolderSetting(*section, kResultRootKey, root.resultRoot(), builder);
  storeFlagSetting(*section, kUseCustomKey, root.useCustom(), builder);
  storeFolderSetting(*section, kCustomFolderKey, root.customFolder(), builder);
}

void writeDocument(CzemData* data, const char* fileName, bool append) {
  if (checkData(data != nullptr ? static_cast<CzemBase*>(data) : nullptr, false) == nullptr) return;
  CzemTargetList* root = data->root();
  if (checkNode(root != nullptr ? static_cast<CzemBase*>(root) : nullptr, false) == nullptr) return;
  if (holdsUnwritableNumber(*root)) {
    storeError(kErrParameter);
    voxZemAPE(kInvalidNumber);
    return;
  }

  std::FILE* file = fileName != nullptr ? std::fopen(fileName, append ? "ab" : "wb") : nullptr;
  if (file == nullptr) {
    reportFileError(fileName);
    return;
  }
  // The output stream already hands the text over in large blocks.
  std::setvbuf(file, nullptr, _IONBF, 0);
  struct stat before {};
  const off_t originalLength = (append && fstat(fileno(file), &before) == 0) ? before.st_size : 0;

  bool complete = false;
  const Text previousAnchor = root->anchor();
  try {
    storeResultFolderSettings(*root);
    // File names are written relative to the file being written.
    root->setAnchor(fileName);
    OutputStream out(file);
    root->Write(out);
    complete = out.flush();
  } catch (const std::bad_alloc&) {
    complete = false;
  }
  // A partial text is taken back, so a failed write leaves the file as it was opened.
  if (!complete) restoreLength(file, originalLength);
  if (std::fclose(file) != 0 && complete) {
    complete = false;
    restoreLength(fileName, originalLength);
  }
  if (!complete) {
    root->setAnchor(previousAnchor.view());
    reportFileError(fileName);
  }
}

}  // namespace zem
