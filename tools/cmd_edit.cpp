// zem set / zem del: change one keyword or section of a file, leaving every
// other byte (comments, blank lines, indentation, line ends) as it was.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "edit_text.hpp"
#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kSetHelp =
    "usage: zem set FILE PATH KEYWORD[:N] VALUE... [-o OUT | -i]\n"
    "Replaces the values of instance N (default 1) of KEYWORD in the section PATH\n"
    "(as for 'zem get'); the keyword is added at the end of the section when it\n"
    "has N - 1 instances. Each VALUE is one value in file syntax: 1, 2.5, true,\n"
    "'text', |file name|, #date#; any other word is written as a quoted text.\n"
    "Only the keyword's values change (a braced text after them goes with them).\n"
    "The edited text is checked by loading it, then written to standard output,\n"
    "to OUT, or over FILE with -i.\n";

constexpr const char* kDelHelp =
    "usage: zem del FILE PATH [KEYWORD [INSTANCE]] [-o OUT | -i]\n"
    "Removes the section PATH, or instance INSTANCE (default 1) of its KEYWORD.\n"
    "A node alone on its lines goes with those lines (and a comment that ends\n"
    "them); every other byte stays. The edited text is checked by loading it,\n"
    "then written to standard output, to OUT, or over FILE with -i.\n";

bool isNumber(const std::string& v) {
  if (v.empty()) return false;
  char* end = nullptr;
  std::strtod(v.c_str(), &end);
  return *end == '\0' && std::strchr("+-.0123456789", v[0]) != nullptr;
}

bool sameWord(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return true;
}

// A value argument in file syntax: forms the file can hold stay as given,
// any other word becomes a quoted text.
std::string valueText(const std::string& v) {
  if (isNumber(v) || sameWord(v, "true") || sameWord(v, "false")) return v;
  if (v.size() >= 2 && std::strchr("'\"|#", v[0]) != nullptr && v.back() == v[0]) return v;
  if (v.size() >= 2 && v[0] == '%') return v;
  std::string quoted = "'";
  for (char c : v) {
    quoted.push_back(c);
    if (c == '\'') quoted.push_back(c);
  }
  return quoted + "'";
}

bool blank(char c) { return c == ' ' || c == '\t'; }

bool allBlank(const std::string& s, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i)
    if (!blank(s[i])) return false;
  return true;
}

// The offset of the "=" of a keyword text starting at `begin`, over a braced
// text after the name; npos when there is none before `end`.
std::size_t equalsSign(const std::string& s, std::size_t begin, std::size_t end) {
  for (std::size_t i = begin; i < end; ++i) {
    if (s[i] == '{') {
      const std::size_t close = s.find('}', i);
      if (close == std::string::npos || close >= end) return std::string::npos;
      i = close;
    } else if (s[i] == '=') {
      return i;
    }
  }
  return std::string::npos;
}

int fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return kInvalidInput;
}

std::string placeOf(const std::string& file, void* node) {
  int line = 0, column = 0;
  if (zemGetNodeSpan(node, &line, &column, nullptr, nullptr) == 0) return file;
  return file + ":" + std::to_string(line) + ":" + std::to_string(column);
}

// The reloaded keyword must hold exactly the values given.
std::string expectValues(const std::string& path, const std::string& name, unsigned instance, std::size_t count,
                         void* handle) {
  void* keyword = zemKeywordByNameNum(zemFindSectionByHandle(handle, path.c_str()), name.c_str(), instance);
  const int found = keyword != nullptr ? zemGetNoParams(keyword) : -1;
  if (found == static_cast<int>(count)) return "";
  return "'" + name + "' would read back with " + std::to_string(found < 0 ? 0 : found) + " values instead of " +
         std::to_string(count);
}

}  // namespace

int runSet(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kSetHelp, stdout);
    return kOk;
  }
  std::vector<std::string> pos;
  EditTarget target;
  if (int status = parseEditArgs(args, kSetHelp, pos, target); status != kOk) return status;
  if (pos.size() < 4) return usageError("set needs FILE PATH KEYWORD VALUE...", kSetHelp);
  std::string name;
  unsigned instance = 1;
  if (!splitInstance(pos[2], name, instance) || name.empty())
    return usageError("KEYWORD must be a name, optionally with :N (N from 1)", kSetHelp);
  const std::string& file = pos[0];
  Document doc(file);
  if (!doc.ok()) return fail(doc.error());
  SourceText text;
  if (!text.read(file)) return fail(file + ": " + std::strerror(errno));
  int status = kOk;
  void* section = findSection(doc, pos[1], status);
  if (section == nullptr) return status;

  std::string values;
  for (std::size_t i = 3; i < pos.size(); ++i) values += (i > 3 ? ", " : "") + valueText(pos[i]);
  const std::string& bytes = text.bytes();
  std::string edited;
  void* keyword = zemKeywordByNameNum(section, name.c_str(), instance);
  const std::string place = placeOf(file, keyword != nullptr ? keyword : section);
  if (keyword != nullptr) {
    std::size_t begin = 0, end = 0;
    if (!nodeRange(text, keyword, begin, end)) return fail(file + ": '" + name + "' has no place in the text");
    const std::size_t eq = equalsSign(bytes, begin, end);
    if (eq == std::string::npos) return fail(placeOf(file, keyword) + ": cannot find the '=' of '" + name + "'");
    std::size_t from = eq + 1;
    while (from < end && blank(bytes[from])) ++from;
    edited = bytes.substr(0, from) + (from == eq + 1 ? " " : "") + values + bytes.substr(end);
  } else {
    void* first = zemKeywordByNameNum(section, name.c_str(), 1);
    const unsigned count = first != nullptr ? static_cast<unsigned>(zemGetNoInstances(first)) : 0;
    if (instance != count + 1)
      return fail(placeOf(file, section) + ": section '" + pos[1] + "' has no keyword '" + name + "' (instance " +
                  std::to_string(instance) + ")");
    std::size_t begin = 0, end = 0;
    if (!nodeRange(text, section, begin, end) || end < begin + 7)
      return fail(file + ": section '" + pos[1] + "' has no place in the text");
    const std::size_t endSect = end - 7;  // the section's text ends with its EndSect
    const std::size_t lineStart = text.lineStart(endSect);
    const std::string eol = text.lineEndAt(endSect);
    // Indented like the last keyword of the section, else one step inside its EndSect.
    std::string indent;
    const int keywords = zemGetNoKeywords(section);
    std::size_t kwBegin = 0, kwEnd = 0;
    if (keywords > 0 && nodeRange(text, zemKeywordByNum(section, static_cast<unsigned>(keywords)), kwBegin, kwEnd) &&
        allBlank(bytes, text.lineStart(kwBegin), kwBegin)) {
      indent = bytes.substr(text.lineStart(kwBegin), kwBegin - text.lineStart(kwBegin));
    } else {
      indent = (allBlank(bytes, lineStart, endSect) ? bytes.substr(lineStart, endSect - lineStart) : "") + "   ";
    }
    const std::string line = indent + name + " = " + values + eol;
    if (allBlank(bytes, lineStart, endSect))
      edited = bytes.substr(0, lineStart) + line + bytes.substr(lineStart);
    else
      edited = bytes.substr(0, endSect) + eol + line + bytes.substr(endSect);
  }
  const std::size_t count = pos.size() - 3;
  return finishEdit(file, place, edited, target,
                    [&](void* handle) { return expectValues(pos[1], name, instance, count, handle); });
}

int runDel(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kDelHelp, stdout);
    return kOk;
  }
  std::vector<std::string> pos;
  EditTarget target;
  if (int status = parseEditArgs(args, kDelHelp, pos, target); status != kOk) return status;
  if (pos.size() < 2 || pos.size() > 4) return usageError("del needs FILE PATH [KEYWORD [INSTANCE]]", kDelHelp);
  unsigned instance = 1;
  if (pos.size() == 4 && !parseInstance(pos[3], instance))
    return usageError("INSTANCE must be a number from 1", kDelHelp);
  const std::string& file = pos[0];
  Document doc(file);
  if (!doc.ok()) return fail(doc.error());
  SourceText text;
  if (!text.read(file)) return fail(file + ": " + std::strerror(errno));
  int status = kOk;
  void* node = findSection(doc, pos[1], status);
  if (node == nullptr) return status;
  if (pos.size() >= 3) {
    void* keyword = zemKeywordByNameNum(node, pos[2].c_str(), instance);
    if (keyword == nullptr)
      return fail(placeOf(file, node) + ": section '" + pos[1] + "' has no keyword '" + pos[2] + "' (instance " +
                  std::to_string(instance) + ")");
    node = keyword;
  }
  std::size_t begin = 0, end = 0;
  if (!nodeRange(text, node, begin, end)) return fail(file + ": '" + pos[1] + "' has no place in the text");
  const std::string& bytes = text.bytes();
  // A node alone on its lines takes the lines along, with a line comment after it.
  const std::size_t lineStart = text.lineStart(begin);
  std::size_t rest = end;
  while (rest < bytes.size() && blank(bytes[rest])) ++rest;
  const bool restIsComment = bytes.compare(rest, 2, "//") == 0 || (rest < bytes.size() && bytes[rest] == ';');
  const bool restIsEmpty = rest >= bytes.size() || bytes[rest] == '\r' || bytes[rest] == '\n';
  if (allBlank(bytes, lineStart, begin) && (restIsComment || restIsEmpty)) {
    begin = lineStart;
    end = text.nextLineStart(rest);
  }
  const std::string edited = bytes.substr(0, begin) + bytes.substr(end);
  return finishEdit(file, placeOf(file, node), edited, target, [](void*) { return std::string(); });
}

}  // namespace zemtool
