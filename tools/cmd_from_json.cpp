// Placeholder until the command is built.
#include <cstdio>

#include "tool.hpp"

namespace zemtool {

int runFromJson(const std::vector<std::string>&) {
  std::fputs("zem: this command is not available yet\n", stderr);
  return kUsage;
}

}  // namespace zemtool
