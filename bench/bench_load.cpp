// Load throughput and memory of zemLoadFile on a generated parameter file.
//
//   zem_bench_load [--size MB] [--runs N] [--keep]
//
// Each run is a fresh process (this program started again with --child), so
// the peak resident size it reports belongs to one load and one walk only.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "load_file_generator.hpp"
#include "zem/zem.h"

namespace {

using Clock = std::chrono::steady_clock;

// User plus system time of this process: unlike the wall clock it does not
// grow when other processes share the cores.
double cpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKb(const char* field) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return -1;
  char line[256];
  long value = -1;
  const std::size_t n = std::strlen(field);
  while (std::fgets(line, sizeof line, f) != nullptr) {
    if (std::strncmp(line, field, n) == 0 && line[n] == ':') {
      value = std::strtol(line + n + 1, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return value;
}

struct WalkCount {
  unsigned long long nodes = 0;
  unsigned long long values = 0;
  double sink = 0;  // keeps the getters' results alive
};

void walk(void* node, WalkCount& count) {
  ++count.nodes;
  switch (zemGetSyntaxClass(node)) {
    case 6:
      count.sink += zemGetInt(node);
      ++count.values;
      return;
    case 7:
      count.sink += zemGetDouble(node);
      ++count.values;
      return;
    case 8:
      count.sink += zemGetBool(node);
      ++count.values;
      return;
    case 9:
      count.sink += static_cast<double>(std::strlen(zemGetString(node)));
      ++count.values;
      return;
    case 5:
    case 10:
    case 11:
    case 12:
    case 14:
    case 15:
      ++count.values;
      return;
    default:
      break;
  }
  const int n = zemGetNoNodes(node);
  for (int i = 1; i <= n; ++i) walk(zemNodeByNum(node, static_cast<unsigned>(i)), count);
}
void* rootOf(void* handle) { return zemGetRoot(handle); }

// One load and walk; prints "load walk baseKb peakKb nodes values". A warm
// run loads and closes the file once before, so the heap already holds the
// pages the measured load needs.
int childRun(const char* path, bool warm) {
  const long baseKb = statusKb("VmRSS");
  if (warm) {
    void* first = zemLoadFile(path, 0);
    zemClose(&first);
  }
  const double cpuStart = cpuSeconds();
  const auto start = Clock::now();
  void* handle = zemLoadFile(path, 0);
  const double load = secondsSince(start);
  const double loadCpu = cpuSeconds() - cpuStart;
  const int code = zemGetErrorGlb();
  void* root = handle != nullptr ? rootOf(handle) : nullptr;
  if (code != 0 || root == nullptr) {
    std::fprintf(stderr, "load failed with code %d\n", code);
    return 1;
  }
  WalkCount count;
  const auto walkStart = Clock::now();
  walk(root, count);
  const double walkTime = secondsSince(walkStart);
  const long peakKb = statusKb("VmHWM");
  zemClose(&handle);
  std::printf("%.6f %.6f %.6f %ld %ld %llu %llu %g\n", load, loadCpu, walkTime, baseKb, peakKb, count.nodes,
              count.values, count.sink);
  return 0;
}

// Reads the file in large blocks and runs every byte through a class table:
// the least any lexer must do with the same bytes.
double rawScanSeconds(const std::string& path, unsigned long long& checksum) {
  static std::array<unsigned char, 256> classes = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>((c * 7) & 15);
    return t;
  }();
  std::vector<unsigned char> block(1 << 20);
  const auto start = Clock::now();
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  unsigned long long sum = 0;
  for (;;) {
    const ssize_t n = ::read(fd, block.data(), block.size());
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) sum += classes[block[static_cast<std::size_t>(i)]];
  }
  ::close(fd);
  checksum += sum;
  return secondsSince(start);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct RunResult {
  double load = 0, loadCpu = 0, walk = 0;
  long baseKb = 0, peakKb = 0;
  unsigned long long nodes = 0, values = 0;
};

bool spawnRun(const char* self, const std::string& path, bool warm, RunResult& r) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    ::execl(self, self, "--child", path.c_str(), warm ? "warm" : "cold", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  std::string out;
  char buf[512];
  ssize_t n;
  while ((n = ::read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  double sink;
  return std::sscanf(out.c_str(), "%lf %lf %lf %ld %ld %llu %llu %lf", &r.load, &r.loadCpu, &r.walk, &r.baseKb,
                     &r.peakKb, &r.nodes, &r.values, &sink) == 8;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return childRun(argv[2], std::strcmp(argv[3], "warm") == 0);
  double sizeMb = 50;
  int runs = 5;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      sizeMb = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--keep") == 0) {
      keep = true;
    } else {
      std::fprintf(stderr, "usage: %s [--size MB] [--runs N] [--keep]\n", argv[0]);
      return 2;
    }
  }
  const char* tmp = std::getenv("TMPDIR");
  const std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/zem_bench_load_" +
                           std::to_string(static_cast<long>(sizeMb * 1000)) + ".txt";
  zem_bench::GeneratedFile file;
  if (!zem_bench::generateLoadFile(path, static_cast<std::uint64_t>(sizeMb * 1024 * 1024), 42, file)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  const double mb = static_cast<double>(file.bytes) / (1024.0 * 1024.0);
  std::printf("file %s: %.1f MB, %llu sections, %llu keywords, %llu values\n", path.c_str(), mb,
              static_cast<unsigned long long>(file.sections), static_cast<unsigned long long>(file.keywords),
              static_cast<unsigned long long>(file.values));

  unsigned long long checksum = 0;
  std::vector<double> scans;
  for (int i = 0; i < 3; ++i) scans.push_back(rawScanSeconds(path, checksum));
  const double scan = median(scans);

  std::printf("raw read+scan : %.1f MB/s (checksum %llu)\n", mb / scan, checksum % 1000);

  // Cold runs start with an empty heap: every page of the tree is a fresh
  // page fault. Warm runs measure a load into a heap that already has them.
  for (const bool warm : {false, true}) {
    std::vector<double> loads, cpus, totals, peaks;
    std::printf("\n%s runs:\n", warm ? "warm" : "cold");
    for (int i = 0; i < runs; ++i) {
      RunResult r;
      if (!spawnRun("/proc/self/exe", path, warm, r)) {
        std::fprintf(stderr, "run %d failed\n", i + 1);
        return 1;
      }
      const double peak = static_cast<double>(r.peakKb - r.baseKb) * 1024.0 / static_cast<double>(file.bytes);
      std::printf(
          "run %d: load %.3f s (%.1f MB/s, CPU %.3f s), walk %.3f s, peak +%.1f MB (%.2fx file), %llu nodes, %llu "
          "values\n",
          i + 1, r.load, mb / r.load, r.loadCpu, r.walk, static_cast<double>(r.peakKb - r.baseKb) / 1024.0, peak,
          r.nodes, r.values);
      loads.push_back(r.load);
      cpus.push_back(r.loadCpu);
      totals.push_back(r.load + r.walk);
      peaks.push_back(peak);
    }
    const double load = median(loads);
    std::printf("%s load (median) : %.1f MB/s = %.1f%% of raw scan speed\n", warm ? "warm" : "cold", mb / load,
                100.0 * scan / load);
    std::printf("%s load, CPU time: %.1f MB/s\n", warm ? "warm" : "cold", mb / median(cpus));
    std::printf("%s load + walk   : %.1f MB/s\n", warm ? "warm" : "cold", mb / median(totals));
    if (!warm) std::printf("peak memory    : %.2fx file size (median)\n", median(peaks));
  }
  if (!keep) std::remove(path.c_str());
  return 0;
}
