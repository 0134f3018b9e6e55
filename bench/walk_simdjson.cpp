// Whole-process load of the JSON form with simdjson's DOM parser: load,
// walk every value, exit.
#include <simdjson.h>

#include <cstdio>

#include "walk_counts.hpp"

namespace {

using simdjson::dom::element;

void walkList(simdjson::dom::array list, zem_bench::WalkCounts& counts);

// {"Name": [...]}: a section when its list holds objects, else a keyword.
void walkMember(simdjson::dom::object object, zem_bench::WalkCounts& counts) {
  for (auto field : object) {
    const simdjson::dom::array list = field.value.get_array();
    if (list.size() != 0 && list.at(0).is_object()) {
      ++counts.sections;
      walkList(list, counts);
      continue;
    }
    ++counts.keywords;
    for (element v : list) {
      switch (v.type()) {
        case simdjson::dom::element_type::INT64:
          counts.number(static_cast<double>(int64_t(v)));
          break;
        case simdjson::dom::element_type::DOUBLE:
          counts.number(double(v));
          break;
        case simdjson::dom::element_type::BOOL:
          counts.number(bool(v));
          break;
        case simdjson::dom::element_type::STRING:
          counts.text(std::string_view(v).size());
          break;
        default:
          counts.number(0);
          break;
      }
    }
  }
}

void walkList(simdjson::dom::array list, zem_bench::WalkCounts& counts) {
  for (element item : list) walkMember(item.get_object(), counts);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  simdjson::dom::parser parser;
  simdjson::dom::element doc;
  if (auto error = parser.load(argv[1]).get(doc)) {
    std::fprintf(stderr, "parse failed: %s\n", simdjson::error_message(error));
    return 1;
  }
  zem_bench::WalkCounts counts;
  walkList(doc.get_array(), counts);
  return counts.print();
}
