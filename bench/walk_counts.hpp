// What a whole-process benchmark program saw while walking a loaded file:
// every tool prints the same line, so the script can check that all of them
// read the same content.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zem_bench {

struct WalkCounts {
  std::uint64_t sections = 0;
  std::uint64_t keywords = 0;
  std::uint64_t values = 0;
  double sum = 0;  // of numbers, booleans and text lengths: keeps every read alive

  void number(double x) {
    sum += x;
    ++values;
  }
  void text(std::size_t length) { number(static_cast<double>(length)); }

  // "sections keywords values"; the sum goes to stderr, where nobody compares it.
  int print() const {
    std::printf("%llu %llu %llu\n", static_cast<unsigned long long>(sections),
                static_cast<unsigned long long>(keywords), static_cast<unsigned long long>(values));
    std::fprintf(stderr, "sum %.6g\n", sum);
    return 0;
  }
};

// The whole file in one read, with `extra` zero bytes after it (for parsers
// that want padding or a terminator). False when it cannot be read.
bool readWholeFile(const char* path, std::string& data, std::size_t extra = 1);

}  // namespace zem_bench
