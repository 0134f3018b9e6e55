// The result folder of a document: the custom folder when it is switched on,
// else a folder named by the template under the result root folder or beside
// the setup file (the document's anchor file).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zem {

class CzemNode;
class CzemTargetList;

// The document settings that decide a result folder.
struct ResultFolderSettings {
  int useCustom = 0;
  std::string customFolder;
  std::string resultRoot;
  std::string setupFile;  // the anchor file name of the document
};

// The root that holds the settings of `node`'s document: the top of its tree
// when that is a target list, else null.
CzemTargetList* settingsHolder(CzemNode& node);

// The settings of the document of `node`. The four lookups (custom folder,
// top of the tree, anchor, result root) each check `node` with reporting, so
// a pointer that is not a node gives four reports and empty settings.
ResultFolderSettings documentSettings(void* node);

// The result folder of a document with these settings. A relative setup
// folder is completed from the current directory. Fails when the folder would
// not fit the path limit.
std::optional<std::string> documentResultFolder(const ResultFolderSettings& settings);

// The same rule on values of the caller: the custom folder unchanged whenever
// useCustom is set, and a relative setup folder stays relative. Null texts
// count as empty; a null setup file as no setup file at all.
std::optional<std::string> composeResultFolder(int useCustom, const char* customFolder, const char* resultRoot,
                                               const char* setupFile);

// Copies `path` with its zero byte into `out`, which holds kMaxPath bytes; a
// path that was refused, or does not fit, is written as the empty text so that
// no truncated path ever reaches a caller. A null `out` is left alone.
void writePathOut(const std::optional<std::string>& path, char* out);

}  // namespace zem
