#include "json_reader.hpp"

#include <cstdint>

namespace zemtool {
namespace {

// Deeper input is refused rather than read by ever deeper recursion; a
// parameter file's sections nest far less deep than this.
constexpr int kMaxDepth = 512;

class Reader {
 public:
  explicit Reader(const std::string& text) : s_(text) {}

  bool document(JsonValue& out) {
    blanks();
    if (!value(out, 0)) return false;
    blanks();
    if (i_ != s_.size()) return fail("text after the JSON value");
    return true;
  }

  std::string error() const { return std::to_string(errLine_) + ":" + std::to_string(errColumn_) + ": " + error_; }

 private:
  bool fail(const std::string& why) {
    if (error_.empty()) {
      error_ = why;
      errLine_ = line_;
      errColumn_ = static_cast<int>(i_ - lineStart_) + 1;
    }
    return false;
  }

  void blanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) {
      if (s_[i_] == '\n') {
        ++line_;
        lineStart_ = i_ + 1;
      }
      ++i_;
    }
  }

  bool word(const char* w) {
    std::size_t n = 0;
    while (w[n] != '\0') ++n;
    if (s_.compare(i_, n, w) != 0) return false;
    i_ += n;
    return true;
  }

  bool value(JsonValue& out, int depth) {
    if (depth > kMaxDepth) return fail("nested too deeply");
    out.line = line_;
    out.column = static_cast<int>(i_ - lineStart_) + 1;
    if (i_ >= s_.size()) return fail("a value is missing");
    const char c = s_[i_];
    if (c == '{') return object(out, depth);
    if (c == '[') return array(out, depth);
    if (c == '"') {
      out.kind = JsonValue::Kind::String;
      return string(out.text);
    }
    if (c == '-' || (c >= '0' && c <= '9')) return number(out);
    if (word("true") || word("false")) {
      out.kind = JsonValue::Kind::Bool;
      out.boolean = c == 't';
      return true;
    }
    if (word("null")) return true;
    return fail("a value is missing");
  }

  bool object(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::Object;
    ++i_;
    blanks();
    if (i_ < s_.size() && s_[i_] == '}') return ++i_, true;
    for (;;) {
      blanks();
      if (i_ >= s_.size() || s_[i_] != '"') return fail("expected a member name in double quotes");
      std::string name;
      if (!string(name)) return false;
      blanks();
      if (i_ >= s_.size() || s_[i_] != ':') return fail("expected ':' after a member name");
      ++i_;
      blanks();
      out.members.emplace_back(std::move(name), JsonValue{});
      if (!value(out.members.back().second, depth + 1)) return false;
      blanks();
      if (i_ < s_.size() && s_[i_] == ',') {
        ++i_;
        continue;
      }
      if (i_ < s_.size() && s_[i_] == '}') return ++i_, true;
      return fail("expected ',' or '}' in an object");
    }
  }

  bool array(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::Array;
    ++i_;
    blanks();
    if (i_ < s_.size() && s_[i_] == ']') return ++i_, true;
    for (;;) {
      blanks();
      out.items.emplace_back();
      if (!value(out.items.back(), depth + 1)) return false;
      blanks();
      if (i_ < s_.size() && s_[i_] == ',') {
        ++i_;
        continue;
      }
      if (i_ < s_.size() && s_[i_] == ']') return ++i_, true;
      return fail("expected ',' or ']' in an array");
    }
  }

  bool digits() {
    const std::size_t start = i_;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
    return i_ > start;
  }

  bool number(JsonValue& out) {
    out.kind = JsonValue::Kind::Number;
    const std::size_t start = i_;
    if (s_[i_] == '-') ++i_;
    if (i_ < s_.size() && s_[i_] == '0') {
      ++i_;
    } else if (!digits()) {
      return fail("a number needs digits");
    }
    if (i_ < s_.size() && s_[i_] == '.') {
      ++i_;
      if (!digits()) return fail("a number needs digits after its point");
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      ++i_;
      if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
      if (!digits()) return fail("a number needs digits in its exponent");
    }
    out.text = s_.substr(start, i_ - start);
    return true;
  }

  void utf8(std::uint32_t cp, std::string& out) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  bool hex4(std::uint32_t& cp) {
    cp = 0;
    for (int k = 0; k < 4; ++k, ++i_) {
      if (i_ >= s_.size()) return fail("\\u needs four hex digits");
      const char h = s_[i_];
      cp <<= 4;
      if (h >= '0' && h <= '9') {
        cp |= static_cast<std::uint32_t>(h - '0');
      } else if ((h | 0x20) >= 'a' && (h | 0x20) <= 'f') {
        cp |= static_cast<std::uint32_t>((h | 0x20) - 'a' + 10);
      } else {
        return fail("\\u needs four hex digits");
      }
    }
    return true;
  }

  // Bytes that are not ASCII pass through unchanged, so texts of a file in
  // any 8-bit encoding come back as they were.
  bool string(std::string& out) {
    ++i_;
    for (;;) {
      if (i_ >= s_.size()) return fail("a string is not closed");
      const char c = s_[i_];
      if (c == '"') return ++i_, true;
      if (c == '\n') return fail("a string is not closed on its line");
      if (c != '\\') {
        out += c;
        ++i_;
        continue;
      }
      if (++i_ >= s_.size()) return fail("a string is not closed");
      const char e = s_[i_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          std::uint32_t cp = 0;
          if (!hex4(cp)) return false;
          if (cp >= 0xD800 && cp < 0xDC00 && s_.compare(i_, 2, "\\u") == 0) {
            i_ += 2;
            std::uint32_t low = 0;
            if (!hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return fail("a \\u surrogate pair is broken");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          }
          utf8(cp, out);
          break;
        }
        default:
          --i_;
          return fail(std::string("unknown escape \\") + e);
      }
    }
  }

  const std::string& s_;
  std::size_t i_ = 0, lineStart_ = 0;
  int line_ = 1;
  std::string error_;
  int errLine_ = 0, errColumn_ = 0;
};

}  // namespace

const JsonValue* JsonValue::member(const std::string& name) const {
  for (const auto& m : members)
    if (m.first == name) return &m.second;
  return nullptr;
}

bool readJson(const std::string& text, JsonValue& out, std::string& error) {
  Reader reader(text);
  if (reader.document(out)) return true;
  error = reader.error();
  return false;
}

}  // namespace zemtool
