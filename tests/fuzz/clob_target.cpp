// The CLOB item reader on arbitrary CLOB text: the first bytes choose a
// sequence of reads of every kind (and resets), the rest is the CLOB's text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "clob/clob.hpp"
#include "fuzz_support.hpp"
#include "zem/zem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool quiet = (fuzz::quietReports(), true);
  const std::size_t ops = size < 8 ? size : 8;
  zem::CzemClob clob(std::string_view(reinterpret_cast<const char*>(data) + ops, size - ops));
  void* node = static_cast<zem::CzemBase*>(&clob);
  int i = 0;
  float f = 0;
  double d = 0;
  const char* text = nullptr;
  void* item = nullptr;
  // Each op byte is used three times over its bit fields, then the reads go on as "any item" to the end.
  for (std::size_t step = 0; step < 1000; ++step) {
    const int op = step < ops * 3 ? (data[step / 3] >> (3 * (step % 3))) & 7 : 6;
    int status = 0;
    switch (op) {
      case 0: status = zemGetClobBoolS(node, &i); break;
      case 1: status = zemGetClobIntS(node, &i); break;
      case 2: status = zemGetClobFloatS(node, &f); break;
      case 3: status = zemGetClobDoubleS(node, &d); break;
      case 4: status = zemGetClobStringS(node, &text); break;
      case 5: status = zemGetClobFilenameS(node, &text); break;
      case 6: status = zemGetClobItemS(node, &item); break;
      default: zemClobResetS(node, 0); break;
    }
    if (status == 0 && op == 6 && item != nullptr) {
      zemGetValueText(item);
      zemGetSyntaxClass(item);
    }
    int end = 0;
    zemIsClobEndS(node, &end);
    if (step >= ops * 3 && (end != 0 || status != 0)) break;
  }
  zemGetErrorGlb();
  return 0;
}
