// The loader on arbitrary text: load from memory, read every value through
// the exports, write, load the written text and compare the trees.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.hpp"
#include "zem/zem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool quiet = (fuzz::quietReports(), true);
  void* handle = fuzz::loadText(data, size);
  if (handle != nullptr) {
    fuzz::walkAll(handle);
    fuzz::checkRoundTrip(handle);
    zemClose(&handle);
  }
  zemGetErrorGlb();
  return 0;
}
