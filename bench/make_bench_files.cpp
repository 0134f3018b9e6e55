// Writes the benchmark's input files: the parameter file and the same content
// as JSON, XML, TOML and libconfig text, or the CLOB-heavy template.
//
//   zem_make_bench_files MB BASE        BASE.txt .json .xml .toml .cfg
//   zem_make_bench_files MB BASE --rich BASE.txt only
//
// Prints "sections keywords values" of the content, as the walkers do.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "load_file_generator.hpp"

int main(int argc, char** argv) {
  const bool rich = argc == 4 && std::strcmp(argv[3], "--rich") == 0;
  if (argc != 3 && !rich) {
    std::fprintf(stderr, "usage: %s MB BASE [--rich]\n", argv[0]);
    return 2;
  }
  const auto bytes = static_cast<std::uint64_t>(std::atof(argv[1]) * 1e6);
  const std::string base = argv[2];
  zem_bench::GeneratedFile file;
  bool ok;
  if (rich) {
    ok = zem_bench::generateRichFile(base + ".txt", bytes, 42, file);
  } else {
    const zem_bench::PeerFiles peers{base + ".json", base + ".xml", base + ".toml", base + ".cfg"};
    ok = zem_bench::generateLoadFiles(base + ".txt", peers, bytes, 42, file);
  }
  if (!ok) {
    std::fprintf(stderr, "cannot write %s.*\n", base.c_str());
    return 1;
  }
  std::printf("%llu %llu %llu\n", static_cast<unsigned long long>(file.sections),
              static_cast<unsigned long long>(file.keywords), static_cast<unsigned long long>(file.values));
  return 0;
}
