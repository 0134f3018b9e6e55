#include "load_file_generator.hpp"

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace zem_bench {
namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint64_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
  bool chance(unsigned percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

constexpr std::array kSectionNames = {"Setup",  "Domain",   "Boundary", "Source",    "Point",  "Layer",
                                      "Output", "Station",  "Item",     "Parameter", "Solver", "TimeAxis",
                                      "Grid",   "Material", "Zone",     "Segment"};
constexpr std::array kKeywordNames = {
    "Name",        "Type",          "Count",       "Values",  "Timestep", "StartTime", "Enabled",
    "File",        "Description",   "Coordinates", "Depth",   "Factor",   "Method",    "Tolerance",
    "MaxIter",     "Scale",         "Offset",      "Unit",    "Format",   "Level",     "Weights",
    "Interpolate", "Extrapolation", "Threshold",   "Mode",    "Id",       "Layers",    "Position",
    "Include",     "Result",        "Stiffness",   "Damping", "Density",  "Viscosity", "Area"};
constexpr std::array kWords = {"inlet", "north",  "outlet", "probe",  "panel", "run",   "upper",  "lower",
                               "main",  "branch", "outer",  "summer", "base",  "check", "result", "mesh"};

// One value: its kind and its parameter-file literal.
struct Value {
  enum Kind { kInt, kReal, kBool, kString, kFilename, kClob, kDateTime } kind;
  std::string literal;
  // The text between the literal's delimiters.
  std::string inner() const { return literal.substr(1, literal.size() - 2); }
};

// A file written through a large buffer.
class Output {
 public:
  explicit Output(const std::string& path) : file_(path.empty() ? nullptr : std::fopen(path.c_str(), "wb")) {
    failed_ = !path.empty() && file_ == nullptr;
    buffer_.reserve(kFlushAt + 4096);
  }
  ~Output() { close(); }
  bool open() const { return file_ != nullptr; }
  bool failed() const { return failed_; }
  std::uint64_t written() const { return flushed_ + buffer_.size(); }
  std::string& text() { return buffer_; }
  void maybeFlush() {
    if (buffer_.size() >= kFlushAt) flush();
  }
  void close() {
    if (file_ == nullptr) return;
    flush();
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  void flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
    flushed_ += buffer_.size();
    buffer_.clear();
  }
  std::FILE* file_;
  std::string buffer_;
  std::uint64_t flushed_ = 0;
  bool failed_ = false;
};

// One text form of the content. Levels start at 1 for a top-level section.
class Emitter {
 public:
  explicit Emitter(const std::string& path) : out_(path) {}
  virtual ~Emitter() = default;
  Output& output() { return out_; }
  virtual void begin() {}
  virtual void end() {}
  virtual void openSection(const std::string& name, int level, bool marker) = 0;
  virtual void closeSection(const std::string& name, int level) = 0;
  virtual void comment(int, const char*) {}
  virtual void keyword(const std::string& name, int level, const std::vector<Value>& values, bool isDefault,
                       bool marker, bool checked) = 0;

 protected:
  std::string& s() { return out_.text(); }
  static void escaped(std::string& to, const std::string& text) {
    for (const char c : text) {
      if (c == '"' || c == '\\') to += '\\';
      to += c;
    }
  }
  Output out_;
};

class ParameterEmitter final : public Emitter {
 public:
  using Emitter::Emitter;
  void begin() override {
    s() += "// Created     : 2024-03-18 09:41:07\r\n// DLL         : libzem.so\r\n// Version     : \r\n\r\n";
  }
  void openSection(const std::string& name, int level, bool marker) override {
    indent(level);
    s() += '[';
    s() += name;
    if (marker) s() += "()";
    s() += "]\r\n";
  }
  void closeSection(const std::string& name, int level) override {
    indent(level);
    s() += "EndSect  // ";
    s() += name;
    s() += "\r\n\r\n";
  }
  void comment(int level, const char* word) override {
    indent(level);
    s() += "// ";
    s() += word;
    s() += " settings follow\r\n";
  }
  void keyword(const std::string& name, int level, const std::vector<Value>& values, bool isDefault, bool marker,
               bool checked) override {
    indent(level);
    if (isDefault) s() += "default (";
    s() += name;
    if (marker) s() += "()";
    s() += isDefault ? ") = " : " = ";
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) s() += ", ";
      s() += values[i].literal;
    }
    if (checked) s() += "  ; checked";
    s() += "\r\n";
  }

 private:
  void indent(int level) { s().append(static_cast<std::size_t>(level > 1 ? (level - 1) * 3 : 0), ' '); }
};

// Nested lists of one-entry records, the shape JSON and libconfig share; only
// the punctuation differs:
//   [ {"Section":[ {"Keyword":[values]}, {"Sub":[...]} ]}, ... ]
//   root = ( { Setup = ( { Name = ( 1, 2.5, "x" ); }, { Grid = ( ... ); } ); } );
struct ListPunctuation {
  const char* begin;
  const char* end;
  const char* nameOpen;   // before a section's or keyword's name
  const char* sectionListOpen;  // between a section's name and its list
  const char* keywordListOpen;  // between a keyword's name and its values
  const char* valueSeparator;
  const char* sectionClose;
  const char* keywordClose;
};
constexpr ListPunctuation kJson{"[", "\n]\n", "{\"", "\":[", "\":[", ",", "]}", "]}"};
constexpr ListPunctuation kLibconfig{"root = (", "\n);\n", "{ ", " = (", " = ( ", ", ", " ); }", " ); }"};

class ListEmitter final : public Emitter {
 public:
  ListEmitter(const std::string& path, const ListPunctuation& p) : Emitter(path), p_(p) {}
  void begin() override {
    s() += p_.begin;
    first_.push_back(true);
  }
  void end() override { s() += p_.end; }
  void openSection(const std::string& name, int, bool) override {
    element(name, p_.sectionListOpen);
    first_.push_back(true);
  }
  void closeSection(const std::string&, int) override {
    first_.pop_back();
    s() += p_.sectionClose;
  }
  void keyword(const std::string& name, int, const std::vector<Value>& values, bool, bool, bool) override {
    element(name, p_.keywordListOpen);
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) s() += p_.valueSeparator;
      const Value& v = values[i];
      if (v.kind == Value::kInt || v.kind == Value::kReal || v.kind == Value::kBool) {
        s() += v.literal;
      } else {
        s() += '"';
        escaped(s(), v.inner());
        s() += '"';
      }
    }
    s() += p_.keywordClose;
  }

 private:
  void element(const std::string& name, const char* listOpen) {
    if (!first_.back()) s() += ',';
    first_.back() = false;
    s() += '\n';
    s() += p_.nameOpen;
    s() += name;
    s() += listOpen;
  }
  const ListPunctuation& p_;
  std::vector<bool> first_;
};

// <zem><Section><Keyword><i>1</i><r>2.5</r><b>true</b><s>text</s></Keyword></Section></zem>
class XmlEmitter final : public Emitter {
 public:
  using Emitter::Emitter;
  void begin() override { s() += "<?xml version=\"1.0\"?>\n<zem>\n"; }
  void end() override { s() += "</zem>\n"; }
  void openSection(const std::string& name, int, bool) override { s() += "<" + name + ">\n"; }
  void closeSection(const std::string& name, int) override { s() += "</" + name + ">\n"; }
  void keyword(const std::string& name, int, const std::vector<Value>& values, bool, bool, bool) override {
    s() += "<" + name + ">";
    for (const Value& v : values) {
      const char tag = v.kind == Value::kInt ? 'i' : v.kind == Value::kReal ? 'r' : v.kind == Value::kBool ? 'b' : 's';
      s() += '<';
      s() += tag;
      s() += '>';
      const std::string text = tag == 's' ? v.inner() : v.literal;
      for (const char c : text) {
        if (c == '<')
          s() += "&lt;";
        else if (c == '>')
          s() += "&gt;";
        else if (c == '&')
          s() += "&amp;";
        else
          s() += c;
      }
      s() += "</";
      s() += tag;
      s() += '>';
    }
    s() += "</" + name + ">\n";
  }
};

// Sections are arrays of tables ([[Setup.Grid]] is a Grid of the last Setup);
// a keyword is an array of its values. TOML keys are unique within a table, so
// a repeated keyword name gets "_2", "_3", ... appended.
class TomlEmitter final : public Emitter {
 public:
  using Emitter::Emitter;
  void openSection(const std::string& name, int, bool) override {
    path_.push_back(name);
    used_.emplace_back();
    s() += "\n[[";
    for (std::size_t i = 0; i < path_.size(); ++i) {
      if (i > 0) s() += '.';
      s() += path_[i];
    }
    s() += "]]\n";
  }
  void closeSection(const std::string&, int) override {
    path_.pop_back();
    used_.pop_back();
  }
  void keyword(const std::string& name, int, const std::vector<Value>& values, bool, bool, bool) override {
    std::string key = name;
    for (int n = 2; !used_.back().insert(key).second; ++n) key = name + "_" + std::to_string(n);
    s() += key + " = [";
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) s() += ", ";
      const Value& v = values[i];
      if (v.kind == Value::kInt || v.kind == Value::kReal || v.kind == Value::kBool) {
        s() += v.literal;
      } else if (v.kind == Value::kDateTime) {
        s() += v.inner();
      } else {
        s() += '"';
        escaped(s(), v.inner());
        s() += '"';
      }
    }
    s() += "]\n";
  }

 private:
  std::vector<std::string> path_;
  std::vector<std::set<std::string>> used_;
};


// Draws the content and hands every part to each emitter. The parameter
// file's emitter comes first; its size decides when the content ends.
class Content {
 public:
  Content(Random& random, GeneratedFile& stats, bool rich) : random_(random), stats_(stats), rich_(rich) {}
  void add(std::unique_ptr<Emitter> emitter) {
    if (emitter->output().open() || emitter->output().failed()) emitters_.push_back(std::move(emitter));
  }
  bool run(std::uint64_t targetBytes) {
    for (auto& e : emitters_) e->begin();
    std::set<std::string> topNames;
    while (emitters_.front()->output().written() < targetBytes) {
      const int maxLevel = 1 + static_cast<int>(random_.below(6));
      section(1, maxLevel, topNames);
    }
    bool failed = false;
    for (auto& e : emitters_) {
      e->end();
      e->output().close();
      failed = failed || e->output().failed();
    }
    stats_.bytes = emitters_.front()->output().written();
    return !failed;
  }

 private:
  // A template may not hold two siblings of one name: the rich file numbers them.
  std::string unique(std::string name, std::set<std::string>& used) {
    if (!rich_) return name;
    const std::string base = name;
    for (int n = 2; !used.insert(name).second; ++n) name = base + std::to_string(n);
    return name;
  }

  void section(int level, int maxLevel, std::set<std::string>& siblings) {
    const std::string name = unique(kSectionNames[random_.below(kSectionNames.size())], siblings);
    ++stats_.sections;
    const bool marker = rich_ && random_.chance(30);
    for (auto& e : emitters_) e->openSection(name, level, marker);
    std::set<std::string> keywordNames, sectionNames;
    const unsigned keywords = 2 + random_.below(11);
    for (unsigned i = 0; i < keywords; ++i) {
      if (random_.chance(4)) {
        const char* word = kWords[random_.below(kWords.size())];
        for (auto& e : emitters_) e->comment(level + 1, word);
      }
      keyword(level + 1, keywordNames);
    }
    if (level < maxLevel) {
      const unsigned children = random_.below(4);
      for (unsigned i = 0; i < children; ++i) section(level + 1, maxLevel, sectionNames);
    }
    for (auto& e : emitters_) e->closeSection(name, level);
    for (auto& e : emitters_) e->output().maybeFlush();
  }

  void keyword(int level, std::set<std::string>& siblings) {
    ++stats_.keywords;
    std::string name = kKeywordNames[random_.below(kKeywordNames.size())];
    if (random_.chance(10)) name += std::to_string(random_.below(20));
    const bool isDefault = rich_ && random_.chance(30);
    const bool marker = rich_ && !isDefault && random_.chance(20);
    if (!isDefault) name = unique(name, siblings);
    values_.clear();
    const unsigned values = 1 + random_.below(8);
    for (unsigned i = 0; i < values; ++i) values_.push_back(value());
    const bool checked = random_.chance(3);
    for (auto& e : emitters_) e->keyword(name, level, values_, isDefault, marker, checked);
  }

  Value value() {
    ++stats_.values;
    const unsigned kind = rich_ ? (random_.chance(60) ? 96 : random_.below(100)) : random_.below(100);
    char text[160];
    Value::Kind k;
    if (kind < 32) {
      const int n = static_cast<int>(random_.below(200000)) - (random_.chance(20) ? 100000 : 0);
      std::snprintf(text, sizeof text, "%d", n);
      k = Value::kInt;
    } else if (kind < 62) {
      const double x = (static_cast<double>(random_.below(2000000)) - 500000.0) / 997.0;
      switch (random_.below(3)) {
        case 0:
          std::snprintf(text, sizeof text, "%.3f", x);
          break;
        case 1:
          std::snprintf(text, sizeof text, "%.6g", x / 1000.0);
          break;
        default:
          std::snprintf(text, sizeof text, "%.15g", x);
          break;
      }
      // "12" reads as an integer in every format.
      k = std::string(text).find_first_of(".eE") == std::string::npos ? Value::kInt : Value::kReal;
    } else if (kind < 72) {
      std::snprintf(text, sizeof text, "%s", random_.chance(50) ? "true" : "false");
      k = Value::kBool;
    } else if (kind < 86) {
      std::snprintf(text, sizeof text, "'%s %s %u'", kWords[random_.below(kWords.size())],
                    kWords[random_.below(kWords.size())], random_.below(1000));
      k = Value::kString;
    } else if (kind < 95) {
      std::snprintf(text, sizeof text, "|.\\data\\%s_%u.dat|", kWords[random_.below(kWords.size())],
                    random_.below(500));
      k = Value::kFilename;
    } else if (kind < 98) {
      if (rich_) {
        std::snprintf(text, sizeof text, "'<CLOB:%u,%.2f,\"%s %s\",true,%u,|.\\%s.dat|,%.4f>'", random_.below(100),
                      static_cast<double>(random_.below(10000)) / 100.0, kWords[random_.below(kWords.size())],
                      kWords[random_.below(kWords.size())], random_.below(100000),
                      kWords[random_.below(kWords.size())], static_cast<double>(random_.below(100000)) / 997.0);
      } else {
        std::snprintf(text, sizeof text, "'<CLOB:%u,%.2f,\"%s\",true>'", random_.below(100),
                      static_cast<double>(random_.below(10000)) / 100.0, kWords[random_.below(kWords.size())]);
      }
      k = Value::kClob;
    } else {
      std::snprintf(text, sizeof text, "#2024-%02u-%02u 12:00:00#", 1 + random_.below(12), 1 + random_.below(28));
      k = Value::kDateTime;
    }
    return Value{k, text};
  }

  Random& random_;
  GeneratedFile& stats_;
  bool rich_;
  std::vector<std::unique_ptr<Emitter>> emitters_;
  std::vector<Value> values_;
};

}  // namespace

bool generateLoadFiles(const std::string& path, const PeerFiles& peers, std::uint64_t targetBytes, std::uint64_t seed,
                       GeneratedFile& out) {
  out = GeneratedFile{};
  Random random(seed);
  Content content(random, out, false);
  auto first = std::make_unique<ParameterEmitter>(path);
  if (!first->output().open()) return false;
  content.add(std::move(first));
  content.add(std::make_unique<ListEmitter>(peers.json, kJson));
  content.add(std::make_unique<XmlEmitter>(peers.xml));
  content.add(std::make_unique<TomlEmitter>(peers.toml));
  content.add(std::make_unique<ListEmitter>(peers.libconfig, kLibconfig));
  return content.run(targetBytes);
}

bool generateLoadFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed, GeneratedFile& out) {
  return generateLoadFiles(path, PeerFiles{}, targetBytes, seed, out);
}

bool generateRichFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed, GeneratedFile& out) {
  out = GeneratedFile{};
  Random random(seed);
  Content content(random, out, true);
  auto first = std::make_unique<ParameterEmitter>(path);
  if (!first->output().open()) return false;
  content.add(std::move(first));
  return content.run(targetBytes);
}

}  // namespace zem_bench
