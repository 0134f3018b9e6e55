// The template check on an arbitrary template and candidate (the input split
// at its first byte 0xFF, or in the middle), both loaded from memory.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.hpp"
#include "zem/zem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool quiet = (fuzz::quietReports(), true);
  const auto [first, second] = fuzz::splitInput(data, size);
  void* templ = fuzz::loadText(first.data(), first.size(), "/fuzz/template.txt");
  void* candidate = fuzz::loadText(second.data(), second.size(), "/fuzz/candidate.txt");
  void* t = templ != nullptr ? zemGetRoot(templ) : nullptr;
  void* c = candidate != nullptr ? zemGetRoot(candidate) : nullptr;
  if (t != nullptr && c != nullptr) {
    zemEquivalentExt(t, c, nullptr, 1);
    zemEquivalentExt(c, t, nullptr, 1);
    zemEquivalentExt(t, t, nullptr, 1);
    // Section against section, and against the other kinds of node.
    void* ts = zemSectionByNum(t, 1);
    void* cs = zemSectionByNum(c, 1);
    if (ts != nullptr && cs != nullptr) zemEquivalentExt(ts, cs, nullptr, 1);
    if (ts != nullptr) zemEquivalentExt(ts, c, nullptr, 1);
  }
  if (templ != nullptr) zemClose(&templ);
  if (candidate != nullptr) zemClose(&candidate);
  zemGetErrorGlb();
  return 0;
}
