// Rendering values as parameter-file text, and where a node stands.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

// Syntax classes of the values, as zemGetSyntaxClass answers them.
enum : int {
  kParam = 5,
  kInt = 6,
  kReal = 7,
  kBool = 8,
  kString = 9,
  kFilenameOrDate = 10,
  kDefaultPar = 11,
  kSubstit = 12,
  kUnknown = 14,
  kUndefined = 15
};

std::string quoted(const std::string& text, char quote) {
  std::string out(1, quote);
  for (char c : text) {
    out.push_back(c);
    if (c == quote) out.push_back(c);
  }
  out.push_back(quote);
  return out;
}

std::string shortestDouble(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

std::string numberText(void* param) {
  const std::string text = zemGetValueText(param);
  if (!text.empty()) return text;
  if (zemGetSyntaxClass(param) == kInt) return std::to_string(zemGetInt(param));
  return shortestDouble(zemGetDouble(param));
}

}  // namespace

std::string escapedText(std::string_view text, ControlEscape form) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || (form == ControlEscape::kHex && c == 0x7f)) {
      char code[8];
      if (form == ControlEscape::kJson)
        std::snprintf(code, sizeof code, "\\u%04x", c);
      else
        std::snprintf(code, sizeof code, "\\x%02x", c);
      out += code;
    } else {
      out += ch;
    }
  }
  out += '"';
  return out;
}

// `open`, the text, `close`.
static std::string enclosed(char open, const char* text, char close) {
  std::string out(1, open);
  out.append(text != nullptr ? text : "");
  out.push_back(close);
  return out;
}

std::string renderValue(void* param) {
  if (zemIsClob(param) != 0) return quoted("<CLOB:" + std::string(zemGetString(param)) + ">", '\'');
  switch (zemGetSyntaxClass(param)) {
    case kInt:
    case kReal:
      return numberText(param);
    case kBool:
      return zemGetBool(param) != 0 ? "true" : "false";
    case kString:
      return quoted(zemGetString(param), '\'');
    case kFilenameOrDate:
      if (zemIsFilename(param) != 0) return enclosed('|', zemGetFilename(param), '|');
      return enclosed('#', zemGetValueText(param), '#');
    case kSubstit:
      return std::string(1, '%').append(zemGetValueText(param));
    case kUnknown:
      return enclosed('{', zemGetValueText(param), '}');
    default:
      return "";  // empty places
  }
}

std::string nodeLocation(void* node) {
  const auto part = [](void* n) {
    std::string text = zemGetName(n);
    if (zemGetNoInstances(n) > 1) text.append(":").append(std::to_string(zemGetInstanceNo(n)));
    return text;
  };
  std::string keyword;
  void* section = node;
  if (zemIsKeyword(node) != 0) {
    keyword.append(" ").append(part(node));
    section = zemGetParentSection(node);
  }
  std::vector<std::string> parts;
  for (void* s = section; s != nullptr && zemGetLevel(s) > 0; s = zemGetParentSection(s)) parts.push_back(part(s));
  std::string path;
  for (auto p = parts.rbegin(); p != parts.rend(); ++p) path.append(path.empty() ? "" : "/").append(*p);
  return path.append(keyword);
}

std::string pathFault(const std::string& path) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(path.find_first_of("/.", start), path.size());
    const std::string part = path.substr(start, end - start);
    const std::size_t colon = part.find(':');
    const std::string name = part.substr(0, colon);
    if (name.empty()) return "PATH '" + path + "' has an empty name at character " + std::to_string(start + 1);
    if (colon != std::string::npos) {
      const std::string number = part.substr(colon + 1);
      const bool digits = !number.empty() && number.size() < 10 &&
                          number.find_first_not_of("0123456789") == std::string::npos && std::stoul(number) > 0;
      if (!digits) return "PATH '" + path + "': '" + part + "' needs an instance number from 1 after ':'";
    }
    if (end == path.size()) return "";
    start = end + 1;
  }
}

void* findSection(Document& doc, const std::string& path, int& status) {
  if (const std::string fault = pathFault(path); !fault.empty()) {
    std::fprintf(stderr, "zem: %s\n", fault.c_str());
    status = kUsage;
    return nullptr;
  }
  void* section = zemFindSectionByHandle(doc.handle(), path.c_str());
  if (section == nullptr) {
    std::fprintf(stderr, "%s: no section '%s'\n", doc.name().c_str(), path.c_str());
    status = kInvalidInput;
  }
  return section;
}

std::string renderValues(void* keyword) {
  std::string out;
  const int count = zemGetNoParams(keyword);
  for (int n = 1; n <= count; ++n) {
    if (n > 1) out += ", ";
    out += renderValue(zemParamByNum(keyword, static_cast<unsigned>(n)));
  }
  return out;
}

}  // namespace zemtool
