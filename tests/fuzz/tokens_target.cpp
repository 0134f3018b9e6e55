// The token reader on arbitrary text, read from an in-memory file to its end
// or first error.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_support.hpp"
#include "zem/zem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = memfd_create("tokens", 0);
  fuzz::require(fd >= 0, "memfd_create");
  fuzz::require(ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size), "memfd write");
  const std::string name = "/proc/self/fd/" + std::to_string(fd);
  CzemTokenReader* reader = nullptr;
  if (zemtLoadFile(name.c_str(), &reader) == 0 && reader != nullptr) {
    int line = 0, column = 0;
    // Every token moves the reader on: there are never more tokens than characters.
    for (std::size_t n = 0;; ++n) {
      fuzz::require(n <= size + 1, "the token reader ends");
      const int code = zemtNextToken(reader);
      zemtGetTokenString(reader);
      zemtGetTokenPosition(reader, &line, &column);
      if (code <= 0) break;
    }
    zemtGetError(reader, &line, &column);
    zemtDispose(&reader);
  }
  zemGetErrorGlb();
  return 0;
}
