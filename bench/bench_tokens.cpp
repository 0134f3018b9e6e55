// Throughput and memory of the token reader against zemLoadFile on the same
// generated parameter file, in one program run.
//
//   zem_bench_tokens [--size MB] [--runs N] [--keep]
//
// The token reader knows no date-times, so the generated file's "#...#"
// values become quoted strings of the same length: both readers then read
// every byte of one and the same file. Each measured pass is a fresh process
// (this program started again with --child), so its peak resident size
// belongs to that pass alone.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "load_file_generator.hpp"
#include "zem/zem.h"

namespace {

double cpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

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

struct Pass {
  double seconds = 0, cpu = 0;
  long baseKb = 0, peakKb = 0;
  unsigned long long sections = 0, keywords = 0, values = 0;
};

// One pass in this process; prints the Pass fields on one line.
int childPass(const char* what, const char* path) {
  Pass p;
  p.baseKb = statusKb("VmRSS");
  const double cpuStart = cpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  if (std::strcmp(what, "reader") == 0) {
    CzemTokenReader* reader = nullptr;
    if (zemtLoadFile(path, &reader) != 0) return 1;
    volatile unsigned sink = 0;  // the texts are read, as a caller would
    for (int code; (code = zemtNextToken(reader)) != 0;) {
      if (code < 0) {
        std::fprintf(stderr, "token error: %s\n", zemtGetError(reader, nullptr, nullptr));
        return 1;
      }
      p.sections += code == 100;
      p.keywords += code == 200;
      p.values += code >= 1000;
      sink = sink + static_cast<unsigned char>(*zemtGetTokenString(reader));
    }
    zemtDispose(&reader);
    p.peakKb = statusKb("VmHWM");
  } else {
    void* handle = zemLoadFile(path, 1);
    if (zemGetErrorGlb() != 0) return 1;
    p.peakKb = statusKb("VmHWM");
    zemClose(&handle);
  }
  p.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  p.cpu = cpuSeconds() - cpuStart;
  std::printf("%.6f %.6f %ld %ld %llu %llu %llu\n", p.seconds, p.cpu, p.baseKb, p.peakKb, p.sections, p.keywords,
              p.values);
  return 0;
}

bool spawnPass(const char* what, const std::string& path, Pass& p) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    ::execl("/proc/self/exe", "zem_bench_tokens", "--child", what, path.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  std::string out;
  char buf[256];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
         std::sscanf(out.c_str(), "%lf %lf %ld %ld %llu %llu %llu", &p.seconds, &p.cpu, &p.baseKb, &p.peakKb,
                     &p.sections, &p.keywords, &p.values) == 7;
}

bool quoteDateTimes(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  if (f == nullptr) return false;
  std::vector<char> block(1 << 20);
  for (long at = 0;; at = std::ftell(f)) {
    const std::size_t n = std::fread(block.data(), 1, block.size(), f);
    if (n == 0) break;
    std::replace(block.begin(), block.begin() + static_cast<long>(n), '#', '\'');
    std::fseek(f, at, SEEK_SET);
    std::fwrite(block.data(), 1, n, f);
    std::fseek(f, at + static_cast<long>(n), SEEK_SET);
  }
  return std::fclose(f) == 0;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 == 1 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return childPass(argv[2], argv[3]);
  double sizeMb = 100;
  int runs = 3;
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
  const std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/zem_bench_tokens_" +
                           std::to_string(static_cast<long>(sizeMb * 1000)) + ".txt";
  zem_bench::GeneratedFile file;
  if (!zem_bench::generateLoadFile(path, static_cast<std::uint64_t>(sizeMb * 1024 * 1024), 42, file) ||
      !quoteDateTimes(path)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  const double mb = static_cast<double>(file.bytes) / (1024.0 * 1024.0);
  std::printf("file %s: %.1f MB, %llu sections, %llu keywords, %llu values\n", path.c_str(), mb,
              static_cast<unsigned long long>(file.sections), static_cast<unsigned long long>(file.keywords),
              static_cast<unsigned long long>(file.values));

  double speed[2] = {0, 0};
  const char* const kinds[2] = {"reader", "loader"};
  for (int k = 0; k < 2; ++k) {
    std::vector<double> seconds, cpu, peaks;
    Pass p;
    for (int i = 0; i < runs; ++i) {
      if (!spawnPass(kinds[k], path, p)) {
        std::fprintf(stderr, "%s pass %d failed\n", kinds[k], i + 1);
        return 1;
      }
      seconds.push_back(p.seconds);
      cpu.push_back(p.cpu);
      peaks.push_back(static_cast<double>(p.peakKb - p.baseKb) / 1024.0);
    }
    speed[k] = mb / median(seconds);
    std::printf("%s: %.1f MB/s (median of %d; CPU %.1f MB/s), peak memory +%.1f MB (%.3fx file)\n",
                k == 0 ? "token reader" : "loader      ", speed[k], runs, mb / median(cpu), median(peaks),
                median(peaks) / mb);
    if (k == 0)
      std::printf("token reader counted %llu sections, %llu keywords, %llu value tokens (%s the file)\n", p.sections,
                  p.keywords, p.values,
                  p.sections == file.sections && p.keywords == file.keywords && p.values == file.values ? "as in"
                                                                                                        : "NOT as in");
  }
  std::printf("token reader / loader throughput: %.2f\n", speed[0] / speed[1]);
  if (!keep) std::remove(path.c_str());
  return 0;
}
