// Whole-process load of the TOML form with toml++: parse the file, walk every
// value, exit.
#include <toml++/toml.h>

#include <cstdio>

#include "walk_counts.hpp"

namespace {

void walkTable(const toml::table& table, zem_bench::WalkCounts& counts) {
  for (auto&& [key, node] : table) {
    const toml::array* list = node.as_array();
    if (list == nullptr) continue;
    if (list->is_array_of_tables()) {
      for (const toml::node& section : *list) {
        ++counts.sections;
        walkTable(*section.as_table(), counts);
      }
      continue;
    }
    ++counts.keywords;
    for (const toml::node& v : *list) {
      if (auto i = v.as_integer())
        counts.number(static_cast<double>(i->get()));
      else if (auto d = v.as_floating_point())
        counts.number(d->get());
      else if (auto b = v.as_boolean())
        counts.number(b->get());
      else if (auto s = v.as_string())
        counts.text(s->get().size());
      else
        counts.number(0);  // a date-time
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  toml::table table;
  try {
    table = toml::parse_file(argv[1]);
  } catch (const toml::parse_error& e) {
    std::fprintf(stderr, "parse failed: %s\n", std::string(e.description()).c_str());
    return 1;
  }
  zem_bench::WalkCounts counts;
  walkTable(table, counts);
  return counts.print();
}
