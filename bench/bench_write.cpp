// Write throughput: loads a generated parameter file once, then writes the
// document back several times and reports the output rate (median).
//
//   zem_bench_write [--size MB] [--runs N]
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "load_file_generator.hpp"
#include "zem/zem.h"

namespace {

double seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

long long fileSize(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  double sizeMb = 50;
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--size") sizeMb = std::atof(argv[i + 1]);
    if (flag == "--runs") runs = std::atoi(argv[i + 1]);
  }
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = tmp != nullptr ? tmp : "/tmp";
  const std::string input = folder + "/zem_bench_write_in.txt";
  const std::string output = folder + "/zem_bench_write_out.txt";
  zem_bench::GeneratedFile info;
  if (!zem_bench::generateLoadFile(input, static_cast<std::uint64_t>(sizeMb * 1e6), 42, info)) {
    std::fprintf(stderr, "cannot write %s\n", input.c_str());
    return 1;
  }
  void* doc = zemLoadFile(input.c_str(), 0);
  if (zemGetErrorGlb() != 0) return 1;
  std::vector<double> rates;
  long long written = 0;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    zemWrite(doc, output.c_str());
    const double s = seconds(start);
    written = fileSize(output);
    rates.push_back(static_cast<double>(written) / 1e6 / s);
    std::printf("run %d: %.3f s, %.1f MB/s\n", r + 1, s, rates.back());
  }
  std::sort(rates.begin(), rates.end());
  std::printf("input %.1f MB, output %.1f MB (%llu values)\n", static_cast<double>(info.bytes) / 1e6,
              static_cast<double>(written) / 1e6, static_cast<unsigned long long>(info.values));
  std::printf("write (median) : %.1f MB/s of output\n", rates[rates.size() / 2]);
  zemClose(&doc);
  std::remove(input.c_str());
  std::remove(output.c_str());
  return 0;
}
