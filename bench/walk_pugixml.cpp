// Whole-process load of the XML form with pugixml: load, walk every value
// (converting numbers and booleans from their texts), exit.
#include <pugixml.hpp>

#include <cstdio>
#include <cstring>

#include "walk_counts.hpp"

namespace {

// Values are elements with one-letter names: i, r, b, s.
bool isValue(pugi::xml_node node) { return node.name()[0] != 0 && node.name()[1] == 0; }

void walk(pugi::xml_node parent, zem_bench::WalkCounts& counts) {
  for (pugi::xml_node child : parent.children()) {
    if (child.type() != pugi::node_element) continue;
    pugi::xml_node first = child.first_child();
    if (first && !isValue(first)) {
      ++counts.sections;
      walk(child, counts);
      continue;
    }
    ++counts.keywords;
    for (pugi::xml_node v : child.children()) {
      const pugi::xml_text text = v.text();
      switch (v.name()[0]) {
        case 'i':
          counts.number(text.as_int());
          break;
        case 'r':
          counts.number(text.as_double());
          break;
        case 'b':
          counts.number(text.as_bool());
          break;
        default:
          counts.text(std::strlen(text.get()));
          break;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  pugi::xml_document doc;
  const pugi::xml_parse_result result = doc.load_file(argv[1]);
  if (!result) {
    std::fprintf(stderr, "parse failed: %s at %td\n", result.description(), result.offset);
    return 1;
  }
  zem_bench::WalkCounts counts;
  walk(doc.child("zem"), counts);
  return counts.print();
}
