// zem fmt FILE [-o OUT | -i]: write a file back in the library's own form.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem fmt FILE [-o OUT | -i]\n"
    "Writes FILE back in the library's own form: to standard output, to OUT,\n"
    "or in place with -i. File names are written relative to the output file.\n";

bool writeTo(void* handle, const std::string& target) {
  zemGetErrorGlb();
  zemWrite(handle, target.c_str());
  return zemGetErrorGlb() == 0;
}

// Standard output gets a file written beside FILE, so that file names keep
// their meaning relative to FILE's folder.
int writeToStdout(void* handle, const std::string& file) {
  const std::size_t slash = file.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : file.substr(0, slash + 1);
  std::string pattern = folder + "/.zem-fmt-XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) {
    const char* tmp = std::getenv("TMPDIR");
    pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/zem-fmt-XXXXXX";
    fd = mkstemp(pattern.data());
  }
  if (fd < 0) {
    std::fprintf(stderr, "zem: cannot create a temporary file\n");
    return kInvalidInput;
  }
  close(fd);
  int status = kOk;
  if (!writeTo(handle, pattern)) {
    status = kInvalidInput;
  } else if (std::FILE* in = std::fopen(pattern.c_str(), "rb")) {
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) std::fwrite(buf, 1, n, stdout);
    std::fclose(in);
  } else {
    status = kInvalidInput;
  }
  std::remove(pattern.c_str());
  return status;
}

}  // namespace

int runFmt(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  std::string file, out;
  bool inPlace = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-i") {
      inPlace = true;
    } else if (args[i] == "-o") {
      if (++i == args.size()) return usageError("-o needs a file name", kHelp);
      out = args[i];
    } else if (file.empty()) {
      file = args[i];
    } else {
      return usageError("unexpected argument '" + args[i] + "'", kHelp);
    }
  }
  if (file.empty()) return usageError("fmt needs a FILE", kHelp);
  if (inPlace && !out.empty()) return usageError("-i and -o exclude each other", kHelp);
  Document doc(file);
  if (!doc.ok()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  if (inPlace) return writeTo(doc.handle(), file) ? kOk : kInvalidInput;
  if (!out.empty()) return writeTo(doc.handle(), out) ? kOk : kInvalidInput;
  return writeToStdout(doc.handle(), file);
}

}  // namespace zemtool
