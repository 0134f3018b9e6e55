// Time of a template check of a large candidate, against the time of loading it.
//
//   zem_bench_equivalence [--size MB] [--runs N] [--keep]
//
// The generated file has random section names and value kinds, which no small template describes. Its text is
// turned into a candidate of the same shape and size, held in one [Root] section, that conforms to a template of
// six levels of one repeatable section name, each holding a wildcard keyword for any number of reals: the check
// then walks every node, its worst case. A check that fails stops at its first difference and costs less.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "load_file_generator.hpp"
#include "zem/zem.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The deepest nesting the generator writes.
constexpr int kLevels = 6;

// A number of `length` characters that every real placeholder accepts.
std::string realOfLength(std::size_t length) {
  if (length <= 2) return length == 1 ? "1" : "10";
  return "0." + std::string(length - 2, '0');
}

// Rewrites one generated line: section names become "Part" padded to their length, values reals of their
// length; comments, "EndSect" lines and line ends stay.
void conformLine(std::string& line) {
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos || line.compare(start, 2, "//") == 0 || line.compare(start, 7, "EndSect") == 0) return;
  if (line[start] == '[') {
    const std::size_t close = line.find(']', start);
    line.replace(start + 1, close - start - 1, "Part" + std::string(close - start - 5, ' '));
    return;
  }
  const std::size_t equals = line.find(" = ");
  if (equals == std::string::npos) return;
  std::size_t end = line.find("  ;", equals);
  if (end == std::string::npos) end = line.find('\r', equals);
  if (end == std::string::npos) end = line.size();
  std::string values;
  for (std::size_t from = equals + 3; from < end;) {
    std::size_t comma = line.find(", ", from);
    if (comma == std::string::npos || comma > end) comma = end;
    if (!values.empty()) values += ", ";
    values += realOfLength(comma - from);
    from = comma == end ? end : comma + 2;
  }
  line.replace(equals + 3, end - equals - 3, values);
}

bool writeConformingCandidate(const std::string& generated, const std::string& candidate) {
  std::ifstream in(generated, std::ios::binary);
  std::ofstream out(candidate, std::ios::binary);
  std::string line;
  out << "[Root]\r\n";
  while (std::getline(in, line)) {
    conformLine(line);
    out << line << '\n';
  }
  out << "EndSect  // Root\r\n";
  return in.eof() && static_cast<bool>(out);
}

// [Root] holding [Part()] six levels deep, each level with a wildcard keyword of one or more reals that may
// repeat.
void* buildTemplate() {
  void* handle = zemCreate();
  zemAddTarget(handle, "Root");
  for (int level = 1; level <= kLevels; ++level) {
    zemAddSectionDef(handle, "Part", 1, 0);
    zemAddKeywordDef(handle, "", "d", 1, 0, 1);
  }
  return handle;
}

long peakKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t megabytes = 100;
  int runs = 3;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      megabytes = std::strtoull(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--keep") == 0) {
      keep = true;
    } else {
      std::fprintf(stderr, "usage: zem_bench_equivalence [--size MB] [--runs N] [--keep]\n");
      return 2;
    }
  }
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  const std::string generated = folder + "/zem_bench_equivalence_random.txt";
  const std::string candidate = folder + "/zem_bench_equivalence.txt";
  zem_bench::GeneratedFile stats;
  if (!zem_bench::generateLoadFile(generated, megabytes << 20, 7, stats) ||
      !writeConformingCandidate(generated, candidate)) {
    std::fprintf(stderr, "cannot write %s\n", candidate.c_str());
    return 1;
  }
  std::remove(generated.c_str());
  const std::uintmax_t candidateBytes = std::filesystem::file_size(candidate);

  void* templ = buildTemplate();
  std::vector<double> loads, checks;
  int conforming = 1;
  for (int run = 0; run < runs; ++run) {
    Clock::time_point start = Clock::now();
    void* doc = zemLoadFile(candidate.c_str(), 1);
    loads.push_back(secondsSince(start));
    if (doc == nullptr || zemGetErrorGlb() != 0) {
      std::fprintf(stderr, "cannot load %s\n", candidate.c_str());
      return 1;
    }
    start = Clock::now();
    conforming &= zemEquivalentExt(zemTargetByNum(templ, 1), zemTargetByNum(doc, 1), nullptr, 1);
    checks.push_back(secondsSince(start));
    zemClose(&doc);
  }
  zemClose(&templ);
  if (!keep) std::remove(candidate.c_str());

  const double mb = static_cast<double>(candidateBytes) / (1 << 20);
  const double load = median(loads), check = median(checks);
  std::printf("candidate: %.1f MB, %llu sections, %llu keywords, %llu values; conforms: %s\n", mb,
              static_cast<unsigned long long>(stats.sections), static_cast<unsigned long long>(stats.keywords),
              static_cast<unsigned long long>(stats.values), conforming != 0 ? "yes" : "NO");
  std::printf("load  (median of %d): %.3f s, %.0f MB/s\n", runs, load, mb / load);
  std::printf("check (median of %d): %.3f s, %.0f MB/s, %.2f of one load\n", runs, check, mb / check, check / load);
  std::printf("peak resident: %.0f MB\n", static_cast<double>(peakKb()) / 1024);
  return conforming != 0 ? 0 : 1;
}
