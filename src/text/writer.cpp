#include "text/writer.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <new>

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "frame/identity.hpp"
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

// Gives the first keyword `name` of `section` the single value made by
// `make`, adding the keyword at the end when it is missing and `addMissing`.
// The builder of the tree (if any) forgets replaced values it points at.
template <typename Make>
void setSetting(CzemSection& section, const char* name, bool addMissing, CzemData* builder, Make make) {
  auto* keyword = static_cast<CzemKeyword*>(section.KeywordByNameNum(name, 1));
  if (keyword == nullptr) {
    if (!addMissing) return;
    keyword = new CzemKeyword(name);
    section.addKeyword(keyword);
  }
  CzemNode* value = make();
  for (CzemNode* old : keyword->children()) {
    if (builder != nullptr) builder->forget(old);
    destroyNode(old);
  }
  keyword->children().clear();
  keyword->addParam(value);
}

void reportFileError(const char* fileName) {
  storeError(kErrFileOpen);
  voxZemMsg("Open error: %", 1, voxString(fileName, nullptr));
}

// Sets a file back to `length` bytes; false for a file that cannot be
// truncated (a device, a pipe), which keeps what reached it.
bool restoreLength(std::FILE* file, off_t length) { return ftruncate(fileno(file), length) == 0; }
bool restoreLength(const char* fileName, off_t length) { return truncate(fileName, length) == 0; }

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
  const bool anySet = !root.resultRoot().empty() || root.useCustom() != 0 || !root.customFolder().empty();
  auto* section = static_cast<CzemSection*>(root.SectionByNameNum(kSettingsSection, 1));
  if (section == nullptr) {
    if (!anySet) return;
    section = new CzemSection(kSettingsSection);
    root.addSection(section);
  }
  // Keywords already in the file always follow the settings, so a cleared
  // setting is not read back from an old line.
  CzemData* builder = dynamic_cast<CzemData*>(root.owner());
  setSetting(*section, kResultRootKey, anySet, builder, [&] { return makeFilenameValue(root.resultRoot().view()); });
  setSetting(*section, kUseCustomKey, anySet, builder, [&] { return new CzemBool(root.useCustom()); });
  setSetting(*section, kCustomFolderKey, anySet, builder,
             [&] { return makeFilenameValue(root.customFolder().view()); });
}

void writeDocument(CzemData* data, const char* fileName, bool append) {
  if (checkData(data != nullptr ? static_cast<CzemBase*>(data) : nullptr, false) == nullptr) return;
  CzemTargetList* root = data->root();
  if (checkNode(root != nullptr ? static_cast<CzemBase*>(root) : nullptr, false) == nullptr) return;

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
