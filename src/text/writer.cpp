#include "text/writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <new>
#include <typeinfo>
#include <utility>
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

// The setting functions bring one setting into the section and tell whether
// the section did not hold it yet; with `apply` false they only tell.

// A folder setting: a missing keyword is added (all three settings are
// written, an empty folder as "||"); an existing value that already names the
// folder keeps its text (and identity); an empty setting leaves a keyword the
// section holds as it stands.
bool storeFolderSetting(CzemSection& section, const char* name, const Text& folder, CzemData* builder, bool apply) {
  if (section.KeywordByNameNum(name, 1) == nullptr) {
    if (apply) settingKeyword(section, name, true)->addParam(makeFilenameValue(folder.view()));
    return true;
  }
  if (folder.empty()) return false;
  CzemKeyword* keyword = settingKeyword(section, name, false);
  CzemNode* first = keyword->NodeByNum(1);
  if (first != nullptr && first->IsFilename() != 0) {
    const char* resolved = first->GetFilename();
    if (resolved != nullptr && folder.view() == resolved) return false;
    if (apply) static_cast<CzemParam*>(first)->setValueText(folder.view());
    return true;
  }
  if (apply) replaceFirstValue(*keyword, makeFilenameValue(folder.view()), builder);
  return true;
}

bool storeFlagSetting(CzemSection& section, const char* name, int flag, CzemData* builder, bool apply) {
  CzemKeyword* keyword = settingKeyword(section, name, apply);
  if (keyword == nullptr) return true;
  CzemNode* first = keyword->NodeByNum(1);
  // Only a plain boolean holds its own value; a bound one reads a variable.
  if (first != nullptr && typeid(*first) == typeid(CzemBool)) {
    if ((first->GetBool() != 0) == (flag != 0)) return false;
    if (apply) static_cast<CzemBool*>(first)->setValue(flag);
    return true;
  }
  if (apply) replaceFirstValue(*keyword, new CzemBool(flag), builder);
  return true;
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
// number that is infinite or NaN then has no form that reads back. Writing
// refuses such a text as it meets the value; this walk finds one beforehand,
// for the writes that could not take a refused text back. The tree is walked
// without recursion, however deep it is.
bool holdsUnwritableNumber(CzemTargetList& root) {
  std::vector<CzemNamedNode*> pending{&root};
  while (!pending.empty()) {
    CzemNamedNode* node = pending.back();
    pending.pop_back();
    for (CzemNode* child : std::as_const(*node).children()) {
      if (child->IsParam() == 0) {
        pending.push_back(static_cast<CzemNamedNode*>(child));
        continue;
      }
      if (child->unwritableNumber()) return true;
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

bool storeResultFolderSettings(CzemTargetList& root, bool apply) {
  // A document without settings leaves any SYSTEM section exactly as it is.
  if (root.resultRoot().empty() && root.useCustom() == 0 && root.customFolder().empty()) return false;
  auto* section = static_cast<CzemSection*>(root.SectionByNameNum(kSettingsSection, 1));
  if (section == nullptr) {
    if (!apply) return true;
    section = new CzemSection(kSettingsSection);
    root.addSection(section);
  }
  // The settings are updated in place, so values a caller holds stay valid.
  CzemData* builder = root.owner() != nullptr ? root.owner()->asData() : nullptr;
  bool changes = storeFolderSetting(*section, kResultRootKey, root.resultRoot(), builder, apply);
  changes = storeFlagSetting(*section, kUseCustomKey, root.useCustom(), builder, apply) || changes;
  changes = storeFolderSetting(*section, kCustomFolderKey, root.customFolder(), builder, apply) || changes;
  return changes;
}

namespace {

// A new file's mode as the process would create it: 0666 less the umask.
mode_t creationMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The folder part of a POSIX path with its closing slash; empty for a bare name.
std::string folderPrefix(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
    path = target.front() == '/' ? target : folderPrefix(path) + target;
  }
  return path;
}

// Writes the whole text into `file`: written, failed when any of it did not
// arrive, or unwritable when a value refused it.
WriteOutcome writeText(CzemTargetList& root, std::FILE* file, const char* fileName) {
  // The output stream already hands the text over in large blocks.
  std::setvbuf(file, nullptr, _IONBF, 0);
  try {
    storeResultFolderSettings(root);
    // File names are written relative to the file being written.
    root.setAnchor(fileName);
    OutputStream out(file);
    root.Write(out);
    if (out.flush()) return WriteOutcome::kWritten;
    return out.refused() ? WriteOutcome::kUnwritable : WriteOutcome::kFailed;
  } catch (const std::bad_alloc&) {
    return WriteOutcome::kFailed;
  }
}

// Appends in place; a partial or refused text is taken back, so an append
// that does not complete leaves the file as it was.
WriteOutcome appendInPlace(CzemTargetList& root, const char* fileName) {
  std::FILE* file = std::fopen(fileName, "ab");
  if (file == nullptr) return WriteOutcome::kFailed;
  struct stat before {};
  const off_t originalLength = fstat(fileno(file), &before) == 0 ? before.st_size : 0;
  WriteOutcome outcome = writeText(root, file, fileName);
  if (outcome != WriteOutcome::kWritten) restoreLength(file, originalLength);
  if (std::fclose(file) != 0 && outcome == WriteOutcome::kWritten) {
    outcome = WriteOutcome::kFailed;
    restoreLength(fileName, originalLength);
  }
  return outcome;
}

// A device, a pipe or a file that may not be replaced takes the text as it
// comes.
WriteOutcome writeInPlace(CzemTargetList& root, const char* target, const char* fileName) {
  std::FILE* file = std::fopen(target, "wb");
  if (file == nullptr) return WriteOutcome::kFailed;
  WriteOutcome outcome = writeText(root, file, fileName);
  if (std::fclose(file) != 0 && outcome == WriteOutcome::kWritten) outcome = WriteOutcome::kFailed;
  return outcome;
}

// The text goes to a new file beside the target, which takes the target's
// place (and mode) only once it is complete: a write that fails part-way
// (a full disk, a file size limit) or is refused leaves the stored file as it was.
WriteOutcome writeReplacing(CzemTargetList& root, const std::string& target, const char* fileName) {
  std::string temporary = folderPrefix(target) + ".zem-write-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return WriteOutcome::kFailed;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    std::remove(temporary.c_str());
    return WriteOutcome::kFailed;
  }
  const WriteOutcome outcome = writeText(root, file, fileName);
  bool complete = outcome == WriteOutcome::kWritten;
  struct stat existing {};
  const mode_t mode = stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : creationMode();
  if (complete) complete = fchmod(fileno(file), mode) == 0;
  if (std::fclose(file) != 0) complete = false;
  if (complete) complete = std::rename(temporary.c_str(), target.c_str()) == 0;
  if (complete) return WriteOutcome::kWritten;
  std::remove(temporary.c_str());
  return outcome == WriteOutcome::kWritten ? WriteOutcome::kFailed : outcome;
}

bool isRegularFile(const char* path) {
  struct stat info {};
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

bool mayWrite(const char* path) { return faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0; }

// Whether a new file may take the place of the existing regular file `target`:
// not when that would cut it off from its other names (hard links), hand it
// to another owner, or needs a folder in which no file can be made. Such a
// file is written in place, as opening it for writing would.
bool mayReplace(const std::string& target, const struct stat& info) {
  if (info.st_nlink > 1 || info.st_uid != geteuid()) return false;
  const std::string prefix = folderPrefix(target);
  const std::string folder = prefix.empty() ? "." : prefix;
  return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

WriteOutcome writeTree(CzemData& data, const char* fileName, bool append) {
  CzemTargetList* root = data.root();
  if (root == nullptr || fileName == nullptr || *fileName == '\0') return WriteOutcome::kFailed;
  // A refused text is taken back from a regular file (the new file is dropped,
  // an append is cut back). A device, a pipe, a file written in place or a
  // file that an append would make cannot be taken back, nor the settings the
  // write stores first in the tree: there the tree is checked before anything
  // changes.
  std::string target;
  bool inPlace = false;
  if (!append) {
    target = linkedFile(fileName);
    struct stat info {};
    if (stat(target.c_str(), &info) == 0) {
      if (S_ISDIR(info.st_mode)) return WriteOutcome::kFailed;
      // A file that cannot be opened for writing is not replaced either.
      if (S_ISREG(info.st_mode) && !mayWrite(target.c_str())) return WriteOutcome::kFailed;
      inPlace = !S_ISREG(info.st_mode) || !mayReplace(target, info);
    }
  }
  const bool undoable = append ? isRegularFile(fileName) : !inPlace;
  if ((!undoable || storeResultFolderSettings(*root, false)) && holdsUnwritableNumber(*root))
    return WriteOutcome::kUnwritable;
  const Text previousAnchor = root->anchor();
  const WriteOutcome outcome = append    ? appendInPlace(*root, fileName)
                               : inPlace ? writeInPlace(*root, target.c_str(), fileName)
                                         : writeReplacing(*root, target, fileName);
  if (outcome != WriteOutcome::kWritten) root->setAnchor(previousAnchor.view());
  return outcome;
}

void writeDocument(CzemData* data, const char* fileName, bool append) {
  if (checkData(data != nullptr ? static_cast<CzemBase*>(data) : nullptr, false) == nullptr) return;
  CzemTargetList* root = data->root();
  if (checkNode(root != nullptr ? static_cast<CzemBase*>(root) : nullptr, false) == nullptr) return;
  switch (writeTree(*data, fileName, append)) {
    case WriteOutcome::kWritten:
      return;
    case WriteOutcome::kFailed:
      // A tree that cannot be written at all says so before any file error.
      if (!holdsUnwritableNumber(*root)) {
        reportFileError(fileName);
        return;
      }
      [[fallthrough]];
    case WriteOutcome::kUnwritable:
      storeError(kErrParameter);
      voxZemAPE(kInvalidNumber);
      return;
  }
}

}  // namespace zem
