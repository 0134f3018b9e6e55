// The path and file-name layer on arbitrary path pairs: combine, resolve and
// render relative, the result-folder construction, each within the path limit.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.hpp"
#include "paths/filename.hpp"
#include "paths/path_ops.hpp"
#include "zem/zem.h"

namespace {

// Windows-style names (a drive, or two backslashes) compare ignoring case:
// t:\A\x and T:\a\X are one file.
bool sameName(const std::string& x, const std::string& y) {
  auto windowsStyle = [](const std::string& s) {
    return s.size() >= 2 && (s[1] == ':' || (s[0] == '\\' && s[1] == '\\'));
  };
  if (!windowsStyle(x) || x.size() != y.size()) return x == y;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(x[i])) != std::tolower(static_cast<unsigned char>(y[i]))) return false;
  return true;
}

void withinLimit(const std::optional<std::string>& path) {
  if (path) fuzz::require(path->size() < ZEM_MAX_PATH, "a path result fits the limit", *path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool quiet = (fuzz::quietReports(), true);
  const auto [first, second] = fuzz::splitInput(data, size);
  const std::string a(first), b(second);
  withinLimit(zem::combinePaths(a, b));
  withinLimit(zem::relativePath(a, b));
  withinLimit(zem::relativePathFromFolder(a, b));
  withinLimit(zem::appendPath(a, b));
  withinLimit(zem::canonicalizePath(a));
  zem::removeFileSpec(a);
  zem::directoryOf(a);
  zem::isRelativePath(a);
  zem::driveNumber(a);
  zem::drivePrefix(a);
  const std::string resolved = zem::resolveFilename(a, b);
  const std::string folder = zem::anchorFolder(a);
  const std::string rendered = zem::renderFilenameInFolder(folder, b);
  // A name written relative to its document reads back as the same file.
  if (!zem::isRelativePath(b) && !zem::isRelativePath(a) && b.find('\0') == std::string::npos &&
      a.find('\0') == std::string::npos) {
    const auto canonical = zem::canonicalizePath(b);
    const std::string back = zem::resolveFilename(a, rendered);
    // Written relative, a folder name loses its trailing separator: the same folder.
    std::string expected = canonical ? *canonical : std::string();
    if (expected.size() > 1 && (expected.back() == '/' || expected.back() == '\\')) expected.pop_back();
    if (canonical && rendered != b)
      fuzz::require(sameName(back, expected) || sameName(back, *canonical), "a rendered name resolves back",
                    a + "\n" + b + "\n" + rendered + "\n" + back);
  }
  // The 260-byte outputs of the result-folder exports are never overrun.
  char out[ZEM_MAX_PATH];
  const std::string c = a.substr(0, a.size() / 2);
  zemConstructResultFolderPathName(1, a.c_str(), b.c_str(), c.c_str(), out);
  fuzz::require(std::memchr(out, 0, sizeof out) != nullptr, "the result folder is terminated");
  zemConstructResultFolderPathName(0, a.c_str(), b.c_str(), c.c_str(), out);
  fuzz::require(std::memchr(out, 0, sizeof out) != nullptr, "the result folder is terminated");
  zemGetErrorGlb();
  return 0;
}
