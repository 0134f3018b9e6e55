// zem to-json FILE: the document as JSON, with nothing lost.
//
// The document is an array of its top-level sections. Every section, keyword
// and default line is an object of its own, in file order, so repeated names
// and their instance numbers stay as they were:
//   {"section": NAME, "body": [...]}   {"keyword": NAME, "values": [...]}
//   {"default": NAME, "values": [...]}  ("template": true after a name marked "()")
// Values keep their kind: integers and reals as JSON numbers in their own
// text when that text is a JSON number (a real always has a point or an
// exponent), else {"int": TEXT} / {"real": TEXT}; true, false; strings;
// null for an empty place; tagged objects for the kinds JSON lacks.
// zem from-json reads this form back.
#include <cstdio>
#include <string>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem to-json FILE\n"
    "Prints the document (FILE '-' reads standard input) as JSON that\n"
    "'zem from-json' turns back into the same document: an array of sections\n"
    "{\"section\": NAME, \"body\": [...]}, each keyword line and default line an\n"
    "object {\"keyword\"|\"default\": NAME, \"values\": [...]} of its own, in order.\n"
    "Integers and reals keep their text (a real has a point or an exponent;\n"
    "other texts become {\"int\": T} or {\"real\": T}), empty places are null,\n"
    "and file names, date-times, substitutions, braced texts and CLOBs are\n"
    "tagged objects. Fails when a CLOB item does not read.\n";

// Syntax classes of the values, as zemGetSyntaxClass answers them.
enum : int { kKeyword = 3, kDefaultDef = 4, kInt = 6, kReal = 7, kBool = 8, kString = 9, kFileOrDate = 10 };
enum : int { kSubstit = 12, kUnknown = 14 };

std::string jsonString(const std::string& text) { return escapedText(text, ControlEscape::kJson); }

// JSON's number grammar; `real` asks for a point or an exponent, `!real` for neither.
bool isJsonNumber(const std::string& t, bool real) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    return i - start;
  };
  if (i < t.size() && t[i] == '-') ++i;
  const std::size_t intStart = i;
  const std::size_t intDigits = digits();
  if (intDigits == 0 || (intDigits > 1 && t[intStart] == '0')) return false;
  bool fraction = false;
  if (i < t.size() && t[i] == '.') {
    ++i;
    if (digits() == 0) return false;
    fraction = true;
  }
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
    fraction = true;
  }
  return i == t.size() && fraction == real;
}

std::string tagged(const char* tag, const std::string& text) {
  return std::string("{\"") + tag + "\": " + jsonString(text) + "}";
}

std::string fileJson(void* param) {
  const char* resolved = zemGetFilename(param);
  return "{\"file\": " + jsonString(resolved != nullptr ? resolved : "") +
         ", \"written\": " + jsonString(zemGetFilenameString(param)) + "}";
}

std::string valueJson(void* param);

// The items as the CLOB reads them; the document's CLOBs were checked to read.
std::string clobJson(void* clob) {
  std::string items;
  zemClobResetS(clob, 0);
  void* item = nullptr;
  while (zemGetClobItemS(clob, &item) == 0 && item != nullptr) items += (items.empty() ? "" : ", ") + valueJson(item);
  zemClobResetS(clob, 0);
  zemGetErrorGlb();
  return "{\"clob\": " + jsonString(zemGetString(clob)) + ", \"items\": [" + items + "]}";
}

std::string valueJson(void* param) {
  if (zemIsClob(param) != 0) return clobJson(param);
  const std::string text = zemGetValueText(param);
  switch (zemGetSyntaxClass(param)) {
    case kInt:
      return isJsonNumber(text, false) ? text : tagged("int", text);
    case kReal:
      return isJsonNumber(text, true) ? text : tagged("real", text);
    case kBool:
      return zemGetBool(param) != 0 ? "true" : "false";
    case kString:
      return jsonString(zemGetString(param));
    case kFileOrDate:
      return zemIsFilename(param) != 0 ? fileJson(param) : tagged("datetime", text);
    case kSubstit:
      return tagged("substitution", text);
    case kUnknown:
      return tagged("braced", text);
    default:
      return "null";  // an empty place of a keyword or default line
  }
}

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The offset of the first byte after blanks and comments from `i`.
std::size_t skipBlanks(const std::string& s, std::size_t i) {
  for (;;) {
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    if (i < s.size() && (s[i] == ';' || s.compare(i, 2, "//") == 0)) {
      while (i < s.size() && s[i] != '\n') ++i;
    } else if (s.compare(i, 2, "/*") == 0) {
      int depth = 0;
      do {
        if (i >= s.size()) return i;
        if (s.compare(i, 2, "/*") == 0) {
          i += 2, ++depth;
        } else if (s.compare(i, 2, "*/") == 0) {
          i += 2, --depth;
        } else {
          ++i;
        }
      } while (depth > 0);
    } else {
      return i;
    }
  }
}

// The library keeps the marker "()" after a name but does not hand it out:
// the loaded text shows it, right after the name (blanks and comments may
// stand between). An empty name is always marked.
bool hasTemplateMark(const SourceText& text, void* node) {
  if (*zemGetName(node) == '\0') return true;
  if (zemGetSyntaxClass(node) == kDefaultDef) return false;
  int line = 0, column = 0;
  if (zemGetNodeSpan(node, &line, &column, nullptr, nullptr) == 0) return false;
  const std::string& s = text.bytes();
  std::size_t i = text.offset(line, column);
  if (zemIsSection(node) != 0) i = skipBlanks(s, i + 1);
  while (i < s.size() && isNameCharacter(s[i])) ++i;
  i = skipBlanks(s, i);
  return i < s.size() && s[i] == '(';
}

std::string indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 2, ' '); }

std::string nodeJson(void* node, int depth, const SourceText& text) {
  const bool section = zemIsSection(node) != 0;
  const char* kind = section ? "section" : zemGetSyntaxClass(node) == kDefaultDef ? "default" : "keyword";
  std::string out = indent(depth) + "{\"" + kind + "\": " + jsonString(zemGetName(node));
  if (hasTemplateMark(text, node)) out += ", \"template\": true";
  if (!section) {
    out += ", \"values\": [";
    const int count = zemGetNoParams(node);
    for (int n = 1; n <= count; ++n)
      out += (n > 1 ? ", " : "") + valueJson(zemParamByNum(node, static_cast<unsigned>(n)));
    return out + "]}";
  }
  out += ", \"body\": [";
  const int count = zemGetNoNodes(node);
  for (int n = 1; n <= count; ++n)
    out += (n > 1 ? ",\n" : "\n") + nodeJson(zemNodeByNum(node, static_cast<unsigned>(n)), depth + 1, text);
  if (count > 0) out.append("\n").append(indent(depth));
  return out.append("]}");
}

}  // namespace

int runToJson(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  if (args.size() != 1) return usageError("to-json needs exactly one FILE", kHelp);
  Document doc(args[0]);
  if (!doc.checkClobs()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  void* root = zemGetRoot(doc.handle());
  std::string out = "[";
  const int count = zemGetNoNodes(root);
  for (int n = 1; n <= count; ++n)
    out += (n > 1 ? ",\n" : "\n") + nodeJson(zemNodeByNum(root, static_cast<unsigned>(n)), 1, doc.source());
  out += count > 0 ? "\n]\n" : "]\n";
  std::fputs(out.c_str(), stdout);
  return std::fflush(stdout) == 0 ? kOk : kInvalidInput;
}

}  // namespace zemtool
