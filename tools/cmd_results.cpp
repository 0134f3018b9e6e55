// zem result-folder FILE and zem result-file FILE PATH KEYWORD: where a setup
// file's results go, with the environment as it is.
#include <cstdio>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kFolderHelp =
    "usage: zem result-folder FILE\n"
    "Prints the folder for the results of FILE: the custom result folder of its\n"
    "SYSTEM section when switched on, else a folder named by the template\n"
    "QXRESULTFOLDERTEMPLATE (default '%setup% - Result Files') under the result\n"
    "root folder, or beside FILE.\n";

constexpr const char* kFileHelp =
    "usage: zem result-file FILE PATH KEYWORD\n"
    "Prints the full path of the result file named by the first value of KEYWORD\n"
    "in section PATH (as for 'zem get'): a relative name inside the result\n"
    "folder of FILE, an absolute one resolved as it stands.\n";

int printPath(const std::string& file, const char* path) {
  if (*path == '\0') {
    std::fprintf(stderr, "%s: the path would be longer than %d bytes\n", file.c_str(), ZEM_MAX_PATH - 1);
    return kInvalidInput;
  }
  std::printf("%s\n", path);
  return kOk;
}

}  // namespace

int runResultFolder(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kFolderHelp, stdout);
    return kOk;
  }
  if (args.size() != 1) return usageError("result-folder needs FILE", kFolderHelp);
  Document doc(args[0]);
  if (!doc.ok()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  char folder[ZEM_MAX_PATH];
  zemGetResultFolderPath(zemGetRoot(doc.handle()), folder);
  return printPath(args[0], folder);
}

int runResultFile(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kFileHelp, stdout);
    return kOk;
  }
  if (args.size() != 3) return usageError("result-file needs FILE PATH KEYWORD", kFileHelp);
  Document doc(args[0]);
  if (!doc.ok()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  int status = kOk;
  void* section = findSection(doc, args[1], status);
  if (section == nullptr) return status;
  void* keyword = zemKeywordByNameNum(section, args[2].c_str(), 1);
  void* value = keyword != nullptr ? zemParamByNum(keyword, 1) : nullptr;
  if (value == nullptr || (zemIsString(value) == 0 && zemIsFilename(value) == 0)) {
    std::fprintf(stderr, "%s: section '%s' has no keyword '%s' with a result file name\n", args[0].c_str(),
                 args[1].c_str(), args[2].c_str());
    return kInvalidInput;
  }
  char path[ZEM_MAX_PATH];
  zemGetResultFilenamePath(value, path);
  return printPath(args[0], path);
}

}  // namespace zemtool
