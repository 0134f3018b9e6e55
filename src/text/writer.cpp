#include "text/writer.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
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

namespace {

// A new file's mode as the process would create it: 0666 less the umask.
mode_t creationMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The file a name stands for: a symbolic link is followed to the file it
// names (however many links deep, up to the system's own limit), so that a
// write replaces that file and the link stays a link.
std::string linkedFile(const char* fileName) {
  std::string path = fileName;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) break;
    target.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.find_last_of('/');
    path = (target.front() == '/' || slash == std::string::npos) ? target : path.substr(0, slash + 1) + target;
  }
  return path;
}

// Writes the whole text into `file`; false when any of it did not arrive.
bool writeText(CzemTargetList& root, std::FILE* file, const char* fileName) {
  // The output stream already hands the text over in large blocks.
  std::setvbuf(file, nullptr, _IONBF, 0);
  try {
    storeResultFolderSettings(root);
    // File names are written relative to the file being written.
    root.setAnchor(fileName);
    OutputStream out(file);
    root.Write(out);
    return out.flush();
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Appends in place; a partial text is taken back, so a failed append leaves
// the file as it was.
bool appendInPlace(CzemTargetList& root, const char* fileName) {
  std::FILE* file = std::fopen(fileName, "ab");
  if (file == nullptr) return false;
  struct stat before {};
  const off_t originalLength = fstat(fileno(file), &before) == 0 ? before.st_size : 0;
  bool complete = writeText(root, file, fileName);
  if (!complete) restoreLength(file, originalLength);
  if (std::fclose(file) != 0 && complete) {
    complete = false;
    restoreLength(fileName, originalLength);
  }
  return complete;
}

// A device or a pipe cannot be replaced: it takes the text as it comes.
bool writeInPlace(CzemTargetList& root, const char* target, const char* fileName) {
  std::FILE* file = std::fopen(target, "wb");
  if (file == nullptr) return false;
  bool complete = writeText(root, file, fileName);
  if (std::fclose(file) != 0) complete = false;
  return complete;
}

// The text goes to a new file beside the target, which takes the target's
// place (and mode) only once it is complete: a write that fails part-way
// (a full disk, a file size limit) leaves the stored file as it was.
bool writeReplacing(CzemTargetList& root, const std::string& target, const char* fileName) {
  const std::size_t slash = target.find_last_of('/');
  std::string temporary = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + ".zem-write-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    std::remove(temporary.c_str());
    return false;
  }
  bool complete = writeText(root, file, fileName);
  struct stat existing {};
  const mode_t mode = stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : creationMode();
  if (complete) complete = fchmod(fileno(file), mode) == 0;
  if (std::fclose(file) != 0) complete = false;
  if (complete) complete = std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!complete) std::remove(temporary.c_str());
  return complete;
}

}  // namespace

bool writeTree(CzemData& data, const char* fileName, bool append) {
  CzemTargetList* root = data.root();
  if (root == nullptr || fileName == nullptr || *fileName == '\0') return false;
  const Text previousAnchor = root->anchor();
  bool complete = false;
  if (append) {
    complete = appendInPlace(*root, fileName);
  } else {
    const std::string target = linkedFile(fileName);
    struct stat info {};
    if (stat(target.c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
      complete = writeReplacing(*root, target, fileName);
    } else if (!S_ISDIR(info.st_mode)) {
      complete = writeInPlace(*root, target.c_str(), fileName);
    }
  }
  if (!complete) root->setAnchor(previousAnchor.view());
  return complete;
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
  if (!writeTree(*data, fileName, append)) reportFileError(fileName);
}

}  // namespace zem
