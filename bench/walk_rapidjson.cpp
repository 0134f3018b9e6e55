// Whole-process load of the JSON form with RapidJSON's in-situ parse: one read
// of the file, parse in place, walk every value, exit.
#include <rapidjson/document.h>

#include <cstdio>
#include <string>

#include "walk_counts.hpp"

namespace {

using Value = rapidjson::Value;

void walkList(const Value& list, zem_bench::WalkCounts& counts);

// {"Name": [...]}: a section when its list holds objects, else a keyword.
void walkMember(const Value& object, zem_bench::WalkCounts& counts) {
  for (auto m = object.MemberBegin(); m != object.MemberEnd(); ++m) {
    const Value& list = m->value;
    if (!list.Empty() && list[0].IsObject()) {
      ++counts.sections;
      walkList(list, counts);
      continue;
    }
    ++counts.keywords;
    for (const Value& v : list.GetArray()) {
      if (v.IsInt())
        counts.number(v.GetInt());
      else if (v.IsNumber())
        counts.number(v.GetDouble());
      else if (v.IsBool())
        counts.number(v.GetBool());
      else
        counts.text(v.GetStringLength());
    }
  }
}

void walkList(const Value& list, zem_bench::WalkCounts& counts) {
  for (const Value& item : list.GetArray()) walkMember(item, counts);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string data;
  if (!zem_bench::readWholeFile(argv[1], data)) return 1;
  rapidjson::Document doc;
  doc.ParseInsitu(data.data());
  if (doc.HasParseError() || !doc.IsArray()) {
    std::fprintf(stderr, "parse failed at %zu\n", doc.GetErrorOffset());
    return 1;
  }
  zem_bench::WalkCounts counts;
  walkList(doc, counts);
  return counts.print();
}
