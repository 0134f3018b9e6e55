// File-name values: a path as the document states it, usually relative to the
// document's own file (its anchor). Reading resolves it against the anchor's
// folder; writing expresses an absolute name relative to that folder again.
#pragma once

#include <string>
#include <string_view>

#include "model/values.hpp"

namespace zem {

class OutputStream;

class CzemFilename : public CzemParam {
 public:
  CzemFilename() { setSyntaxClass(kSynFilename); }
  explicit CzemFilename(std::string_view text) : CzemParam(text) { setSyntaxClass(kSynFilename); }

  CzemNode* NewEmpty() const override { return new CzemFilename(); }
  bool arenaOnly() const override { return textsArenaOnly(); }
  int IsFilename() override { return 1; }
  // The resolved name; owned by this value and valid until its next
  // resolution. It is kept as a note beside the value text: most loaded names
  // are never resolved, so they carry no room for it.
  const char* GetFilename() override;
  const char* GetFilenameString() override { return valueText().c_str(); }
  void Write(OutputStream& out) override;
};

// The anchor made absolute: a relative anchor is taken from the current
// directory, a rooted one without drive goes to the current drive's root.
// An anchor that cannot be made absolute within the path limit stays as it is.
std::string absoluteAnchor(std::string_view anchor);

// The folder that relative file names resolve against. A document that has no
// anchor yet (built and never written) resolves against the current directory.
std::string anchorFolder(std::string_view anchor);

// `name` resolved against `anchor`: an empty or absolute name unchanged, a
// relative one joined to the anchor's folder (unchanged when that would exceed
// the path limit).
std::string resolveFilename(std::string_view anchor, std::string_view name);

// `name` as written into a document whose folder is `folder` (without the
// bars): an absolute name on the folder's drive relative to the folder,
// anything else unchanged.
std::string renderFilenameInFolder(const std::string& folder, std::string_view name);
// The same while writing to `out` a document whose anchor is `anchor`; the
// stream remembers the anchor's folder for the rest of the write.
std::string renderFilename(OutputStream& out, std::string_view anchor, std::string_view name);

}  // namespace zem
