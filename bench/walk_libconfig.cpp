// Whole-process load of the libconfig form with libconfig++: read the file,
// walk every value, exit.
#include <cstdio>
#include <cstring>
#include <libconfig.h++>

#include "walk_counts.hpp"

namespace {

void walkList(const libconfig::Setting& list, zem_bench::WalkCounts& counts);

// { Name = ( ... ); }: a section when its list holds groups, else a keyword.
void walkMember(const libconfig::Setting& group, zem_bench::WalkCounts& counts) {
  for (int m = 0; m < group.getLength(); ++m) {
    const libconfig::Setting& list = group[m];
    if (list.getLength() != 0 && list[0].isGroup()) {
      ++counts.sections;
      walkList(list, counts);
      continue;
    }
    ++counts.keywords;
    for (int i = 0; i < list.getLength(); ++i) {
      const libconfig::Setting& v = list[i];
      switch (v.getType()) {
        case libconfig::Setting::TypeInt:
          counts.number(static_cast<int>(v));
          break;
        case libconfig::Setting::TypeFloat:
          counts.number(static_cast<double>(v));
          break;
        case libconfig::Setting::TypeBoolean:
          counts.number(static_cast<bool>(v));
          break;
        case libconfig::Setting::TypeString:
          counts.text(std::strlen(static_cast<const char*>(v)));
          break;
        default:
          counts.number(0);
          break;
      }
    }
  }
}

void walkList(const libconfig::Setting& list, zem_bench::WalkCounts& counts) {
  for (int i = 0; i < list.getLength(); ++i) walkMember(list[i], counts);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  libconfig::Config config;
  try {
    config.readFile(argv[1]);
  } catch (const libconfig::ParseException& e) {
    std::fprintf(stderr, "parse failed at line %d: %s\n", e.getLine(), e.getError());
    return 1;
  } catch (const libconfig::FileIOException&) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  zem_bench::WalkCounts counts;
  walkList(config.lookup("root"), counts);
  return counts.print();
}
