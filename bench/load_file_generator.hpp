// Writes a parameter file of about a given size that looks like the files
// applications write: nested sections with repeated names, keywords with one
// to eight mixed values, comments, CR LF line ends and writer indentation.
//
// The same logical content (sections, keywords, values in the same order) can
// also be written as JSON, XML, TOML and libconfig text, so that other parsers
// can be measured on it. A "rich" file is parameter text only: a template whose
// lines are mostly CLOBs and default lines.
#pragma once

#include <cstdint>
#include <string>

namespace zem_bench {

struct GeneratedFile {
  std::uint64_t bytes = 0;  // of the parameter file
  std::uint64_t sections = 0;
  std::uint64_t keywords = 0;  // default lines included
  std::uint64_t values = 0;
};

// The other texts written beside the parameter file; an empty path writes none.
struct PeerFiles {
  std::string json, xml, toml, libconfig;
};

// Returns false when a file cannot be written. The content depends only on
// `targetBytes` and `seed`.
bool generateLoadFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed, GeneratedFile& out);
bool generateLoadFiles(const std::string& path, const PeerFiles& peers, std::uint64_t targetBytes, std::uint64_t seed,
                       GeneratedFile& out);
// The CLOB-heavy template with default lines.
bool generateRichFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed, GeneratedFile& out);

}  // namespace zem_bench
