// Writes a parameter file of about a given size that looks like the files
// applications write: nested sections with repeated names, keywords with one
// to eight mixed values, comments, CR LF line ends and writer indentation.
#pragma once

#include <cstdint>
#include <string>

namespace zem_bench {

struct GeneratedFile {
  std::uint64_t bytes = 0;
  std::uint64_t sections = 0;
  std::uint64_t keywords = 0;
  std::uint64_t values = 0;
};

// Returns false when the file cannot be written. The content depends only on
// `targetBytes` and `seed`.
bool generateLoadFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed, GeneratedFile& out);

}  // namespace zem_bench
