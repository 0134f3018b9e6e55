// zem get FILE PATH [KEYWORD [INSTANCE]]: print a section's keywords or one keyword's values.
#include <cstdio>
#include <cstdlib>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem get FILE PATH [KEYWORD [INSTANCE]]\n"
    "PATH names a section by its names from the top, separated by '/' or '.',\n"
    "each optionally followed by ':N' for its N-th instance (Model/Sub:2).\n"
    "Prints the section's keywords with their values, or one keyword's values,\n"
    "in the file's own syntax with file names resolved.\n";

bool parseInstance(const std::string& text, unsigned& out) {
  char* end = nullptr;
  const unsigned long n = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || n == 0 || n > 0xFFFFFFFFul) return false;
  out = static_cast<unsigned>(n);
  return true;
}

}  // namespace

int runGet(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  if (args.size() < 2 || args.size() > 4) return usageError("get needs FILE PATH [KEYWORD [INSTANCE]]", kHelp);
  unsigned instance = 1;
  if (args.size() == 4 && !parseInstance(args[3], instance))
    return usageError("INSTANCE must be a number from 1", kHelp);
  Document doc(args[0]);
  if (!doc.ok()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  void* section = zemFindSectionByHandle(doc.handle(), args[1].c_str());
  if (section == nullptr) {
    std::fprintf(stderr, "%s: no section '%s'\n", args[0].c_str(), args[1].c_str());
    return kInvalidInput;
  }
  if (args.size() >= 3) {
    void* keyword = zemKeywordByNameNum(section, args[2].c_str(), instance);
    if (keyword == nullptr) {
      std::fprintf(stderr, "%s: section '%s' has no keyword '%s' (instance %u)\n", args[0].c_str(), args[1].c_str(),
                   args[2].c_str(), instance);
      return kInvalidInput;
    }
    std::printf("%s\n", renderValues(keyword).c_str());
    return kOk;
  }
  const int count = zemGetNoKeywords(section);
  for (int n = 1; n <= count; ++n) {
    void* keyword = zemKeywordByNum(section, static_cast<unsigned>(n));
    std::printf("%s = %s\n", zemGetName(keyword), renderValues(keyword).c_str());
  }
  return kOk;
}

}  // namespace zemtool
