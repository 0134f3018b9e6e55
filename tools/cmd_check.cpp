// zem check FILE...: load each file and report its counts or its first error.
#include <cstdio>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem check FILE...\n"
    "       zem check --template TEMPLATE [--all] FILE...   (see zem check --template --help)\n"
    "Loads each parameter file ('-' reads standard input) and reads every item\n"
    "of its CLOB values. Prints 'FILE: ok' with its counts of sections, keywords\n"
    "and values, or 'FILE:LINE:COLUMN: MESSAGE' for the first error, followed by\n"
    "'FILE:LINE:COLUMN: note: ...' lines that say where to look.\n"
    "Exit status 1 when any file fails.\n";

struct Counts {
  long sections = 0, keywords = 0, values = 0;
};

void countBelow(void* node, Counts& counts) {
  const int n = zemGetNoNodes(node);
  for (int i = 1; i <= n; ++i) {
    void* child = zemNodeByNum(node, static_cast<unsigned>(i));
    if (zemIsSection(child) != 0) {
      ++counts.sections;
      countBelow(child, counts);
    } else if (zemIsKeyword(child) != 0) {
      ++counts.keywords;
      counts.values += zemGetNoParams(child);
    }
  }
}

}  // namespace

int runCheck(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "--template") return runCheckTemplate(args);
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  if (args.empty()) return usageError("check needs at least one FILE", kHelp);
  int status = kOk;
  for (const std::string& file : args) {
    Document doc(file);
    if (!doc.checkClobs()) {
      std::fprintf(stderr, "%s\n", doc.error().c_str());
      status = kInvalidInput;
      continue;
    }
    Counts counts;
    countBelow(zemGetRoot(doc.handle()), counts);
    std::printf("%s: ok (%ld sections, %ld keywords, %ld values)\n", doc.name().c_str(), counts.sections,
                counts.keywords, counts.values);
  }
  return status;
}

}  // namespace zemtool
