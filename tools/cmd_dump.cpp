// zem dump FILE [-o OUT]: the library's listing of a document, one line per node.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem dump FILE [-o OUT]\n"
    "Prints every section, keyword and value of FILE on a line of its own:\n"
    "level indentation, syntax class, <instances,instance> when a name repeats,\n"
    "and the node's name and counts or the value's views.\n";

}  // namespace

int runDump(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  std::string file, out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (++i == args.size()) return usageError("-o needs a file name", kHelp);
      out = args[i];
    } else if (file.empty()) {
      file = args[i];
    } else {
      return usageError("unexpected argument '" + args[i] + "'", kHelp);
    }
  }
  if (file.empty()) return usageError("dump needs a FILE", kHelp);
  Document doc(file);
  if (!doc.ok()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  // The library writes the listing to a file and reports nothing when it
  // cannot: the tool opens the destination first to tell the user.
  std::string listing = out;
  if (listing.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    listing = std::string(tmp != nullptr ? tmp : "/tmp") + "/zem-dump-XXXXXX";
    const int fd = mkstemp(listing.data());
    if (fd < 0) {
      std::fprintf(stderr, "zem: cannot create a temporary file: %s\n", std::strerror(errno));
      return kInvalidInput;
    }
    close(fd);
  } else if (std::FILE* probe = std::fopen(out.c_str(), "ab")) {
    std::fclose(probe);
  } else {
    std::fprintf(stderr, "%s: %s\n", out.c_str(), std::strerror(errno));
    return kInvalidInput;
  }
  zemDump(doc.handle(), listing.c_str());
  if (!out.empty()) return kOk;
  int status = kInvalidInput;
  if (std::FILE* in = std::fopen(listing.c_str(), "rb")) {
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) std::fwrite(buf, 1, n, stdout);
    std::fclose(in);
    status = kOk;
  }
  std::remove(listing.c_str());
  return status;
}

}  // namespace zemtool
