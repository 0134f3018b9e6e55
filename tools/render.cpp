// Rendering values as parameter-file text and as JSON.
#include <charconv>
#include <cstdio>
#include <string>

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

// A number as written is JSON only with digits on both sides of a point and
// no leading zeros.
bool isJsonNumber(const std::string& t) {
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t start = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    return i - start;
  };
  if (i < t.size() && t[i] == '-') ++i;
  const std::size_t intStart = i;
  const std::size_t intDigits = digits();
  if (intDigits == 0 || (intDigits > 1 && t[intStart] == '0')) return false;
  if (i < t.size() && t[i] == '.') {
    ++i;
    if (digits() == 0) return false;
  }
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == t.size();
}

std::string tagged(const char* tag, const std::string& json) { return std::string("{\"") + tag + "\": " + json + "}"; }

std::string clobItemsJson(void* clob) {
  std::string items = "[";
  zemClobResetS(clob, 0);
  for (bool first = true;;) {
    void* item = nullptr;
    if (zemGetClobItemS(clob, &item) != 0 || item == nullptr) break;
    if (!first) items += ", ";
    first = false;
    items += jsonValue(item);
  }
  zemClobResetS(clob, 0);
  zemGetErrorGlb();  // a bad item ends the list; it is not the tool's failure
  return items + "]";
}

}  // namespace

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
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

std::string renderValues(void* keyword) {
  std::string out;
  const int count = zemGetNoParams(keyword);
  for (int n = 1; n <= count; ++n) {
    if (n > 1) out += ", ";
    out += renderValue(zemParamByNum(keyword, static_cast<unsigned>(n)));
  }
  return out;
}

std::string jsonValue(void* param) {
  if (zemIsClob(param) != 0)
    return "{\"clob\": " + jsonString(zemGetString(param)) + ", \"items\": " + clobItemsJson(param) + "}";
  switch (zemGetSyntaxClass(param)) {
    case kInt:
    case kReal: {
      const std::string text = numberText(param);
      std::string plain = text[0] == '+' ? text.substr(1) : text;
      if (isJsonNumber(plain)) return plain;
      return zemIsDouble(param) != 0 ? shortestDouble(zemGetDouble(param)) : tagged("number", jsonString(text));
    }
    case kBool:
      return zemGetBool(param) != 0 ? "true" : "false";
    case kString:
      return jsonString(zemGetString(param));
    case kFilenameOrDate:
      if (zemIsFilename(param) != 0) {
        const char* resolved = zemGetFilename(param);
        return "{\"file\": " + jsonString(resolved != nullptr ? resolved : "") +
               ", \"written\": " + jsonString(zemGetFilenameString(param)) + "}";
      }
      return tagged("datetime", jsonString(zemGetValueText(param)));
    case kSubstit:
      return tagged("substitution", jsonString(zemGetValueText(param)));
    case kUnknown:
      return tagged("braced", jsonString(zemGetValueText(param)));
    case kDefaultPar:
      return tagged("default", "null");
    case kUndefined:
      return tagged("undefined", "null");
    default:
      return "null";
  }
}

}  // namespace zemtool
