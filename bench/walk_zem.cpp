// Whole-process load of a parameter file: zemLoadFile, a walk over every node
// through the getters, zemClose, exit.
//
//   zem_walk FILE [--again]
//
// With --again the file is loaded, walked and closed a second time, and the
// peak resident size after each round goes to stderr: a close that returns its
// memory leaves the second peak where the first one was.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "walk_counts.hpp"
#include "zem/zem.h"

namespace {

long peakKb() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return -1;
  char line[256];
  long value = -1;
  while (std::fgets(line, sizeof line, f) != nullptr) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) value = std::strtol(line + 6, nullptr, 10);
  }
  std::fclose(f);
  return value;
}

void walk(void* node, zem_bench::WalkCounts& counts) {
  const int n = zemGetNoNodes(node);
  for (int i = 1; i <= n; ++i) {
    void* child = zemNodeByNum(node, static_cast<unsigned>(i));
    switch (zemGetSyntaxClass(child)) {
      case 2:
        ++counts.sections;
        walk(child, counts);
        break;
      case 3:
      case 4:
        ++counts.keywords;
        walk(child, counts);
        break;
      case 6:
        counts.number(zemGetInt(child));
        break;
      case 7:
        counts.number(zemGetDouble(child));
        break;
      case 8:
        counts.number(zemGetBool(child));
        break;
      case 9:
        counts.text(std::strlen(zemGetString(child)));
        break;
      case 10:  // date-times share the class of file names
        if (zemIsFilename(child) != 0)
          counts.text(std::strlen(zemGetFilenameString(child)));
        else
          counts.number(0);
        break;
      default:
        counts.number(0);
        break;
    }
  }
}

bool loadWalkClose(const char* path, zem_bench::WalkCounts& counts) {
  void* handle = zemLoadFile(path, 0);
  if (handle == nullptr || zemGetErrorGlb() != 0) {
    std::fprintf(stderr, "load of %s failed\n", path);
    return false;
  }
  walk(zemGetRoot(handle), counts);
  zemClose(&handle);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--again") != 0)) {
    std::fprintf(stderr, "usage: %s FILE [--again]\n", argv[0]);
    return 2;
  }
  zem_bench::WalkCounts counts;
  if (!loadWalkClose(argv[1], counts)) return 1;
  if (argc == 3) {
    const long first = peakKb();
    zem_bench::WalkCounts again;
    if (!loadWalkClose(argv[1], again)) return 1;
    std::fprintf(stderr, "peak after first load %ld kB, after second %ld kB\n", first, peakKb());
  }
  return counts.print();
}
