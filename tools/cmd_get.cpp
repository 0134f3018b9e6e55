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
    "Prints what the section holds, one a line in file order: 'Name = values'\n"
    "for keywords, 'default (Name) = values' for default lines and '[Name]' for\n"
    "subsections, each name with ':N' where it repeats; or, with KEYWORD, the\n"
    "values of its INSTANCE (default 1). Values are in the file's own syntax,\n"
    "file names resolved. FILE '-' reads standard input.\n";

bool parseInstance(const std::string& text, unsigned& out) {
  char* end = nullptr;
  const unsigned long n = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || text[0] == '-' || *end != '\0' || n == 0 || n > 0xFFFFFFFFul) return false;
  out = static_cast<unsigned>(n);
  return true;
}

// A child's name, with ":N" when its name repeats among its siblings.
std::string numbered(void* node) {
  std::string name = zemGetName(node);
  if (zemGetNoInstances(node) > 1) name.append(":").append(std::to_string(zemGetInstanceNo(node)));
  return name;
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
  if (const std::string fault = pathFault(args[1]); !fault.empty()) return usageError(fault, kHelp);
  Document doc(args[0]);
  if (!doc.ok()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  int status = kOk;
  void* section = findSection(doc, args[1], status);
  if (section == nullptr) return status;
  if (args.size() >= 3) {
    void* keyword = zemKeywordByNameNum(section, args[2].c_str(), instance);
    if (keyword == nullptr) {
      std::fprintf(stderr, "%s: section '%s' has no keyword '%s' (instance %u)\n", doc.name().c_str(), args[1].c_str(),
                   args[2].c_str(), instance);
      return kInvalidInput;
    }
    std::printf("%s\n", renderValues(keyword).c_str());
    return kOk;
  }
  const int count = zemGetNoNodes(section);
  for (int n = 1; n <= count; ++n) {
    void* node = zemNodeByNum(section, static_cast<unsigned>(n));
    if (zemIsSection(node) != 0)
      std::printf("[%s]\n", numbered(node).c_str());
    else if (zemGetSyntaxClass(node) == 4)  // a default line
      std::printf("default (%s) = %s\n", zemGetName(node), renderValues(node).c_str());
    else
      std::printf("%s = %s\n", numbered(node).c_str(), renderValues(node).c_str());
  }
  return kOk;
}

}  // namespace zemtool
