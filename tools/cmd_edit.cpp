// Placeholder until the command is built.
#include <cstdio>

#include "tool.hpp"

namespace zemtool {

int runSet(const std::vector<std::string>&) {
  std::fputs("zem: this command is not available yet\n", stderr);
  return kUsage;
}

int runDel(const std::vector<std::string>&) {
  std::fputs("zem: this command is not available yet\n", stderr);
  return kUsage;
}

}  // namespace zemtool
