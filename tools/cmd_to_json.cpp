// zem to-json FILE: the document as JSON for scripts.
//
// Sections become objects whose members are named after their keywords and
// subsections in order of first appearance; a name that occurs more than once
// holds an array of its occurrences. A keyword with one value is that value,
// with several an array. Default lines appear as "default (NAME)".
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem to-json FILE\n"
    "Prints the document as JSON: sections as objects, repeated names as arrays,\n"
    "numbers, booleans and strings as such, and tagged objects for file names\n"
    "({\"file\", \"written\"}), date-times, substitutions, CLOBs and empty places.\n";

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 2, ' '); }

std::string sectionJson(void* section, int depth);

std::string keywordJson(void* keyword) {
  const int count = zemGetNoParams(keyword);
  if (count == 1) return jsonValue(zemParamByNum(keyword, 1));
  std::string out = "[";
  for (int n = 1; n <= count; ++n) {
    if (n > 1) out += ", ";
    out += jsonValue(zemParamByNum(keyword, static_cast<unsigned>(n)));
  }
  return out + "]";
}

std::string sectionJson(void* section, int depth) {
  std::vector<std::pair<std::string, std::vector<std::string>>> members;
  const int n = zemGetNoNodes(section);
  for (int i = 1; i <= n; ++i) {
    void* child = zemNodeByNum(section, static_cast<unsigned>(i));
    std::string name = zemGetName(child);
    std::string json;
    if (zemIsSection(child) != 0) {
      json = sectionJson(child, depth + 1);
    } else if (zemIsKeyword(child) != 0) {
      if (zemGetSyntaxClass(child) == 4) name = "default (" + name + ")";
      json = keywordJson(child);
    } else {
      continue;
    }
    auto it = members.begin();
    while (it != members.end() && !sameName(it->first, name)) ++it;
    if (it == members.end())
      members.emplace_back(name, std::vector<std::string>{json});
    else
      it->second.push_back(json);
  }
  if (members.empty()) return "{}";
  std::string out = "{\n";
  for (std::size_t m = 0; m < members.size(); ++m) {
    out += indent(depth + 1) + jsonString(members[m].first) + ": ";
    const auto& values = members[m].second;
    if (values.size() == 1) {
      out += values[0];
    } else {
      out += "[";
      for (std::size_t v = 0; v < values.size(); ++v) out += (v > 0 ? ", " : "") + values[v];
      out += "]";
    }
    out += m + 1 < members.size() ? ",\n" : "\n";
  }
  return out + indent(depth) + "}";
}

}  // namespace

int runToJson(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  if (args.size() != 1) return usageError("to-json needs exactly one FILE", kHelp);
  Document doc(args[0]);
  if (!doc.ok()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  std::printf("%s\n", sectionJson(zemGetRoot(doc.handle()), 0).c_str());
  return kOk;
}

}  // namespace zemtool
