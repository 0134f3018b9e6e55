#include "load_file_generator.hpp"

#include <array>
#include <cstdio>
#include <memory>

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

class Writer {
 public:
  Writer(std::FILE* file, Random& random, GeneratedFile& stats) : file_(file), random_(random), stats_(stats) {
    buffer_.reserve(kFlushAt + 4096);
  }
  ~Writer() { flush(); }

  std::uint64_t written() const { return stats_.bytes + buffer_.size(); }

  void header() {
    buffer_ += "// Created     : 2024-03-18 09:41:07\r\n// DLL         : libzem.so\r\n// Version     : \r\n\r\n";
  }

  void section(int level, int maxLevel) {
    const char* name = kSectionNames[random_.below(kSectionNames.size())];
    ++stats_.sections;
    indent(level);
    buffer_ += '[';
    buffer_ += name;
    buffer_ += "]\r\n";
    const unsigned keywords = 2 + random_.below(11);
    for (unsigned i = 0; i < keywords; ++i) {
      if (random_.chance(4)) comment(level + 1);
      keyword(level + 1);
    }
    if (level < maxLevel) {
      const unsigned children = random_.below(4);
      for (unsigned i = 0; i < children; ++i) section(level + 1, maxLevel);
    }
    indent(level);
    buffer_ += "EndSect  // ";
    buffer_ += name;
    buffer_ += "\r\n\r\n";
    if (buffer_.size() >= kFlushAt) flush();
  }

  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;

  void flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
    stats_.bytes += buffer_.size();
    buffer_.clear();
  }
  void indent(int level) { buffer_.append(static_cast<std::size_t>(level > 1 ? (level - 1) * 3 : 0), ' '); }
  void comment(int level) {
    indent(level);
    buffer_ += "// ";
    buffer_ += kWords[random_.below(kWords.size())];
    buffer_ += " settings follow\r\n";
  }
  void keyword(int level) {
    ++stats_.keywords;
    indent(level);
    buffer_ += kKeywordNames[random_.below(kKeywordNames.size())];
    if (random_.chance(10)) buffer_ += std::to_string(random_.below(20));
    buffer_ += " = ";
    const unsigned values = 1 + random_.below(8);
    for (unsigned i = 0; i < values; ++i) {
      if (i > 0) buffer_ += ", ";
      value();
    }
    if (random_.chance(3)) buffer_ += "  ; checked";
    buffer_ += "\r\n";
  }
  void value() {
    ++stats_.values;
    const unsigned kind = random_.below(100);
    char text[64];
    if (kind < 32) {
      const int n = static_cast<int>(random_.below(200000)) - (random_.chance(20) ? 100000 : 0);
      std::snprintf(text, sizeof text, "%d", n);
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
    } else if (kind < 72) {
      std::snprintf(text, sizeof text, "%s", random_.chance(50) ? "true" : "false");
    } else if (kind < 86) {
      std::snprintf(text, sizeof text, "'%s %s %u'", kWords[random_.below(kWords.size())],
                    kWords[random_.below(kWords.size())], random_.below(1000));
    } else if (kind < 95) {
      std::snprintf(text, sizeof text, "|.\\data\\%s_%u.dat|", kWords[random_.below(kWords.size())],
                    random_.below(500));
    } else if (kind < 98) {
      std::snprintf(text, sizeof text, "'<CLOB:%u,%.2f,\"%s\",true>'", random_.below(100),
                    static_cast<double>(random_.below(10000)) / 100.0, kWords[random_.below(kWords.size())]);
    } else {
      std::snprintf(text, sizeof text, "#2024-%02u-%02u 12:00:00#", 1 + random_.below(12), 1 + random_.below(28));
    }
    buffer_ += text;
  }

  std::FILE* file_;
  Random& random_;
  GeneratedFile& stats_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace

bool generateLoadFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed, GeneratedFile& out) {
  out = GeneratedFile{};
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) return false;
  Random random(seed);
  bool failed = false;
  {
    Writer writer(file.get(), random, out);
    writer.header();
    while (writer.written() < targetBytes) writer.section(1, 1 + static_cast<int>(random.below(6)));
    failed = writer.failed();
  }
  return !failed;
}

}  // namespace zem_bench
