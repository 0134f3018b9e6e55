// zem from-json FILE.json [-o OUT]: the parameter file that zem to-json
// described, written in the library's own layout.
//
// Every value is written in the text it holds, so integers, reals, file
// names and date-times come back with their characters; the result is
// checked by loading it before it goes anywhere.
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "edit_text.hpp"
#include "json_reader.hpp"
#include "tool.hpp"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem from-json FILE.json [-o OUT]\n"
    "Writes the parameter file described by FILE.json (the form 'zem to-json'\n"
    "prints; FILE '-' reads standard input) to standard output or to OUT, in\n"
    "the library's layout with CR LF line ends. Values are written in their own\n"
    "text; file names as written ('written', else 'file'), or, when a relative\n"
    "name would name another file from OUT's folder, as the 'file' it names.\n"
    "The text is checked by loading it first; any fault in the JSON is reported\n"
    "with its place.\n";

using Kind = JsonValue::Kind;

struct Fault {
  const JsonValue* at;
  std::string why;
};

bool isName(const std::string& n) {
  if (n.empty() || !((n[0] >= 'a' && n[0] <= 'z') || (n[0] >= 'A' && n[0] <= 'Z'))) return false;
  for (char c : n)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  std::string folded;
  for (char c : n) folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return folded != "true" && folded != "false" && folded != "endsect" && folded != "default";
}

bool isDigits(const std::string& t, std::size_t from, std::size_t to) {
  if (from >= to) return false;
  for (std::size_t i = from; i < to; ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

// A number as the file's reader takes it: an optional sign, digits, and for a
// real a point with digits on at least one side or an exponent.
bool isNumberText(const std::string& t, bool real) {
  std::size_t i = t.empty() || (t[0] != '+' && t[0] != '-') ? 0 : 1;
  const std::size_t e = t.find_first_of("eE", i);
  const std::size_t mantissaEnd = e == std::string::npos ? t.size() : e;
  if (e != std::string::npos) {
    std::size_t x = e + 1;
    if (x < t.size() && (t[x] == '+' || t[x] == '-')) ++x;
    if (!real || !isDigits(t, x, t.size())) return false;
  }
  const std::size_t point = t.find('.', i);
  if (point == std::string::npos || point > mantissaEnd)
    return isDigits(t, i, mantissaEnd) && (real == (e != std::string::npos));
  if (!real) return false;
  const bool before = point == i || isDigits(t, i, point);
  const bool after = point + 1 == mantissaEnd || isDigits(t, point + 1, mantissaEnd);
  return before && after && (point > i || point + 1 < mantissaEnd);
}

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

const JsonValue* stringMember(const JsonValue& v, const char* name, std::vector<Fault>& faults) {
  const JsonValue* m = v.member(name);
  if (m != nullptr && m->kind != Kind::String) faults.push_back({m, std::string("'") + name + "' must be a string"});
  return m != nullptr && m->kind == Kind::String ? m : nullptr;
}

bool onlyMembers(const JsonValue& v, std::initializer_list<const char*> allowed, std::vector<Fault>& faults) {
  for (const auto& [name, value] : v.members) {
    bool known = false;
    for (const char* a : allowed) known = known || name == a;
    if (!known) {
      faults.push_back({&value, "unknown member '" + name + "'"});
      return false;
    }
  }
  return true;
}

// A name that the library resolves against the document's folder: neither
// absolute nor in Windows form (a drive or a network name), and not empty.
bool isPosixRelative(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
  return !(name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0])) != 0);
}

// A POSIX path with both separators read as '/', and "." and ".." removed, as the library combines paths.
std::string normalised(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/' && path[i] != '\\') {
      part += path[i];
      continue;
    }
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  }
  std::string out;
  for (const std::string& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

std::string absoluteFolderOf(const std::string& file) {
  const std::size_t slash = file.find_last_of('/');
  std::string folder = slash == std::string::npos ? "" : file.substr(0, slash);
  if (folder.empty() && slash == 0) return "/";
  if (!folder.empty() && folder[0] == '/') return folder;
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd) == nullptr) return "";
  return folder.empty() ? std::string(cwd) : std::string(cwd) + "/" + folder;
}

// The value in file syntax; adds a fault and returns "" when it has none.
std::string valueText(const JsonValue& v, const std::string& folder, std::vector<Fault>& faults) {
  switch (v.kind) {
    case Kind::Null:
      return "";
    case Kind::Bool:
      return v.boolean ? "true" : "false";
    case Kind::Number:
      return v.text;
    case Kind::String:
      if (v.text.size() >= 7 && v.text.back() == '>') {
        std::string head = v.text.substr(0, 6);
        for (char& c : head) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        if (head == "<CLOB:")
          faults.push_back({&v, "a string of the form <CLOB:...> is a CLOB: write {\"clob\": ...}"});
      }
      return quoted(v.text);
    case Kind::Array:
      faults.push_back({&v, "a value cannot be an array"});
      return "";
    case Kind::Object:
      break;
  }
  const auto one = [&](const char* tag) -> const JsonValue* {
    return v.member(tag) != nullptr && onlyMembers(v, {tag}, faults) ? stringMember(v, tag, faults) : nullptr;
  };
  const auto lacks = [&](const JsonValue* m, const char* chars, const char* why) {
    if (m->text.find_first_of(chars) == std::string::npos) return false;
    faults.push_back({m, why});
    return true;
  };
  if (const JsonValue* t = v.member("int") ? one("int") : nullptr) {
    if (isNumberText(t->text, false)) return t->text;
    faults.push_back({t, "'" + t->text + "' is not an integer"});
  } else if (const JsonValue* t = v.member("real") ? one("real") : nullptr) {
    if (isNumberText(t->text, true)) return t->text;
    faults.push_back({t, "'" + t->text + "' is not a real number (it needs a point or an exponent)"});
  } else if (v.member("file") != nullptr || v.member("written") != nullptr) {
    const JsonValue* written = stringMember(v, "written", faults);
    const JsonValue* resolved = stringMember(v, "file", faults);
    // A relative name that would name another file from OUT's folder is written as the file it names.
    const bool moved = written != nullptr && resolved != nullptr && isPosixRelative(written->text) && !folder.empty() &&
                       !resolved->text.empty() &&
                       normalised(folder + "/" + written->text) != normalised(resolved->text);
    const JsonValue* file = written != nullptr && !moved ? written : resolved != nullptr ? resolved : written;
    if (onlyMembers(v, {"file", "written"}, faults) && file != nullptr &&
        !lacks(file, "|\r\n", "a file name cannot hold '|' or a line end"))
      return "|" + file->text + "|";
  } else if (const JsonValue* t = v.member("datetime") ? one("datetime") : nullptr) {
    if (!lacks(t, "#\r\n", "a date-time cannot hold '#' or a line end")) return "#" + t->text + "#";
  } else if (const JsonValue* t = v.member("substitution") ? one("substitution") : nullptr) {
    if (isName(t->text) || isDigits(t->text, 0, t->text.size())) return "%" + t->text;
    faults.push_back({t, "a substitution is a name or a number"});
  } else if (const JsonValue* t = v.member("braced") ? one("braced") : nullptr) {
    if (!lacks(t, "}\r\n", "a braced text cannot hold '}' or a line end")) return "{" + t->text + "}";
  } else if (v.member("clob") != nullptr) {
    const JsonValue* t = stringMember(v, "clob", faults);
    if (onlyMembers(v, {"clob", "items"}, faults) && t != nullptr) return quoted("<CLOB:" + t->text + ">");
  } else {
    faults.push_back({&v, "a value object needs one of int, real, file, datetime, substitution, braced, clob"});
  }
  if (faults.empty()) faults.push_back({&v, "not a value"});
  return "";
}

constexpr const char* kEol = "\r\n";

void writeNode(const JsonValue& node, int depth, const std::string& folder, std::string& out,
               std::vector<Fault>& faults);

void writeBody(const JsonValue& list, int depth, const std::string& folder, std::string& out,
               std::vector<Fault>& faults) {
  if (list.kind != Kind::Array) {
    faults.push_back({&list, "expected an array of sections, keywords and default lines"});
    return;
  }
  for (const JsonValue& item : list.items) {
    writeNode(item, depth, folder, out, faults);
    if (!faults.empty()) return;
  }
}

// Sections, keywords and default lines as the library writes them: three
// blanks of indentation per level below the top, "EndSect  // Name" and an
// empty line after every section.
void writeNode(const JsonValue& node, int depth, const std::string& folder, std::string& out,
               std::vector<Fault>& faults) {
  const std::string indent(static_cast<std::size_t>(depth - 1) * 3, ' ');
  const char* kind = node.member("section") ? "section" : node.member("keyword") ? "keyword" : "default";
  const JsonValue* name = node.kind == Kind::Object ? stringMember(node, kind, faults) : nullptr;
  if (name == nullptr) {
    if (faults.empty()) faults.push_back({&node, "expected {\"section\"|\"keyword\"|\"default\": NAME, ...}"});
    return;
  }
  const bool section = std::string(kind) == "section";
  if (!onlyMembers(node, {kind, "template", section ? "body" : "values"}, faults)) return;
  const JsonValue* mark = node.member("template");
  if (mark != nullptr && mark->kind != Kind::Bool) return faults.push_back({mark, "'template' must be true or false"});
  const bool marked = (mark != nullptr && mark->boolean) || name->text.empty();
  if (!(isName(name->text) || (name->text.empty() && !section)))
    return faults.push_back({name, "'" + name->text + "' is not a name (a letter, then letters, digits or '_')"});
  if (depth == 1 && !section)
    return faults.push_back({&node, "keywords and default lines must stand inside a section"});
  const std::string head = name->text + (marked ? "()" : "");
  if (section) {
    out += indent + "[" + head + "]" + kEol;
    if (const JsonValue* body = node.member("body")) writeBody(*body, depth + 1, folder, out, faults);
    out += indent + "EndSect  // " + name->text + kEol + kEol;
    return;
  }
  out += indent + (std::string(kind) == "default" ? "default (" + name->text + ")" : head) + " = ";
  if (const JsonValue* values = node.member("values")) {
    if (values->kind != Kind::Array) return faults.push_back({values, "'values' must be an array"});
    for (std::size_t i = 0; i < values->items.size(); ++i) {
      out += (i > 0 ? ", " : "") + valueText(values->items[i], folder, faults);
      if (!faults.empty()) return;
    }
  }
  out += kEol;
}

bool readAll(const std::string& file, std::string& text) {
  if (file == "-") {
    std::ostringstream all;
    all << std::cin.rdbuf();
    text = all.str();
    return !std::cin.bad();
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  return !in.bad();
}

}  // namespace

int runFromJson(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  std::vector<std::string> pos;
  EditTarget target;
  if (int status = parseEditArgs(args, kHelp, pos, target); status != kOk) return status;
  if (target.inPlace) return usageError("from-json writes to standard output or -o OUT", kHelp);
  if (pos.size() != 1) return usageError("from-json needs one FILE.json", kHelp);
  const std::string& file = pos[0];
  const std::string name = file == "-" ? "<stdin>" : file;
  std::string json;
  if (!readAll(file, json)) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), std::strerror(errno));
    return kInvalidInput;
  }
  JsonValue doc;
  std::string error;
  if (!readJson(json, doc, error)) {
    std::fprintf(stderr, "%s:%s\n", name.c_str(), error.c_str());
    return kInvalidInput;
  }
  // Relative file names are checked against the folder of OUT; standard output goes anywhere.
  const std::string folder = target.out.empty() ? "" : absoluteFolderOf(target.out);
  std::vector<Fault> faults;
  std::string text;
  if (doc.kind != Kind::Array) faults.push_back({&doc, "expected an array of sections"});
  for (std::size_t i = 0; faults.empty() && i < doc.items.size(); ++i) writeNode(doc.items[i], 1, folder, text, faults);
  if (!faults.empty()) {
    std::fprintf(stderr, "%s:%d:%d: %s\n", name.c_str(), faults[0].at->line, faults[0].at->column,
                 faults[0].why.c_str());
    return kInvalidInput;
  }
  return finishEdit(name, name, text, target, [](void*) { return std::string(); });
}

}  // namespace zemtool
