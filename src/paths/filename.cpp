#include "paths/filename.hpp"

#include "model/value_factory.hpp"
#include "paths/path_ops.hpp"
#include "text/output_stream.hpp"

namespace zem {

std::string absoluteAnchor(std::string_view anchor) {
  std::string absolute(anchor);
  if (isRelativePath(absolute)) {
    if (auto combined = combinePaths(kCurrentDirectoryMarker, absolute)) absolute = std::move(*combined);
  }
  if (driveNumber(absolute) == -1) {
    if (auto combined = combinePaths(kCurrentDriveRootMarker, absolute)) absolute = std::move(*combined);
  }
  return absolute;
}

std::string anchorFolder(std::string_view anchor) {
  if (!anchor.empty()) return directoryOf(absoluteAnchor(anchor));
  std::string folder = currentDirectory();
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
    folder += driveNumber(folder) == -1 ? '/' : '\\';
  return folder;
}

std::string resolveFilename(std::string_view anchor, std::string_view name) {
  if (name.empty() || !isRelativePath(name)) return std::string(name);
  auto combined = combinePaths(anchorFolder(anchor), name);
  return combined ? std::move(*combined) : std::string(name);
}

std::string renderFilenameInFolder(const std::string& folder, std::string_view name) {
  const int nameDrive = driveNumber(name);
  // A name on another drive or share cannot be expressed relative to the folder.
  if (nameDrive != -1 && nameDrive != driveNumber(folder)) return std::string(name);
  auto relative = relativePathFromFolder(folder, name);
  return relative ? std::move(*relative) : std::string(name);
}

const char* CzemFilename::GetFilename() {
  valueChanged();  // the resolved text may take memory of its own
  return setValueNote(resolveFilename(GetAnchorFilename(), valueText().view()));
}

std::string renderFilename(OutputStream& out, std::string_view anchor, std::string_view name) {
  // A relative name is written as it stands; only absolute ones need the folder.
  if (isRelativePath(name)) return std::string(name);
  OutputStream::AnchorMemo& memo = out.anchorMemo();
  if (!memo.valid || memo.anchor != anchor) {
    memo.anchor.assign(anchor);
    memo.folder = anchorFolder(anchor);
    memo.valid = true;
  }
  return renderFilenameInFolder(memo.folder, name);
}

void CzemFilename::Write(OutputStream& out) {
  // A relative name goes out as it stands, without a look at the anchor.
  const std::string_view name = valueText().view();
  out << '|';
  if (isRelativePath(name))
    out << name;
  else
    out << renderFilename(out, GetAnchorFilename(), name);
  out << '|';
}

CzemNode* makeFilenameValue(std::string_view text, NodeArena* arena) {
  if (arena == nullptr) return new CzemFilename(text);
  CzemFilename* value = arena->make<CzemFilename>();
  value->setValueText(text, arena);
  return value;
}

}  // namespace zem
