// Arbitrary sequences of the building and editing calls; whatever tree they
// leave must write a text that loads back to the same tree.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.hpp"
#include "zem/zem.h"

namespace {

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool more() const { return pos_ < size_; }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  template <typename T>
  T number() {
    T value{};
    std::uint8_t bytes[sizeof(T)] = {};
    for (auto& b : bytes) b = byte();
    std::memcpy(&value, bytes, sizeof(T));
    return value;
  }
  // A short text: a length byte (up to 15), then the bytes.
  std::string text() {
    std::string s;
    for (int n = byte() & 15; n > 0; --n) s += static_cast<char>(byte());
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool quiet = (fuzz::quietReports(), true);
  void* h = zemCreate();
  Reader in(data, size);
  for (int step = 0; step < 200 && in.more(); ++step) {
    const std::uint8_t op = in.byte();
    std::vector<void*> nodes;
    void* node = nullptr;
    unsigned position = 0;
    if (op % 30 >= 18) {
      // The node an edit works on, and a position 0 to 3 (0: at the end).
      nodes = fuzz::nodesOf(h);
      node = nodes[in.byte() % nodes.size()];
      position = in.byte() % 4;
    }
    switch (op % 30) {
      case 0: zemAddSectionS(h, in.text().c_str()); break;
      case 1: zemEndSectionS(h); break;
      case 2: zemAddKeywordS(h, in.text().c_str()); break;
      case 3: zemAddIntS(h, in.number<int>()); break;
      case 4: zemAddFloatS(h, in.number<float>()); break;
      case 5: zemAddDoubleS(h, in.number<double>()); break;
      case 6: zemAddBoolS(h, in.byte() & 1); break;
      case 7: zemAddStringS(h, in.text().c_str()); break;
      case 8: zemAddFilenameS(h, in.text().c_str()); break;
      case 9: zemAddUndefinedParS(h); break;
      case 10: zemAddClobS(h); break;
      case 11: zemAddClobIntS(h, in.number<int>()); break;
      case 12: zemAddClobDoubleS(h, in.number<double>()); break;
      case 13: zemAddClobFloatS(h, in.number<float>()); break;
      case 14: zemAddClobStringS(h, in.text().c_str()); break;
      case 15: zemAddClobFilenameS(h, in.text().c_str()); break;
      case 16: zemAddClobBoolS(h, in.byte() & 1); break;
      case 17: zemAddTargetS(h, in.text().c_str()); break;
      case 18: zemeModifyKeywordName(node, in.text().c_str()); break;
      case 19: zemeModifySectionName(node, in.text().c_str()); break;
      case 20: zemeInsertNewSection(node, in.text().c_str(), position); break;
      case 21: zemeInsertNewKeyword(node, in.text().c_str(), position); break;
      case 22: zemeInsertNewParameterDouble(node, in.number<double>(), position); break;
      case 23: zemeInsertNewParameterString(node, in.text().c_str(), position); break;
      case 24: zemeInsertNewParameterFileName(node, in.text().c_str(), position); break;
      case 25: zemeModifyParameterDouble(node, in.number<double>()); break;
      case 26: zemeModifyParameterString(node, in.text().c_str()); break;
      case 27: zemeModifyParameterFileName(node, in.text().c_str()); break;
      case 28: zemeDeleteParameter(node, position); break;
      default: zemeDeleteSectionByNum(node, position); break;
    }
  }
  zemGetErrorGlb();
  // A built tree has no file: its relative file names resolve in the working folder.
  static const std::string inWorkingFolder = std::filesystem::current_path() / "in.txt";
  fuzz::checkRoundTrip(h, /*exactNumbers=*/false, inWorkingFolder.c_str());
  zemClose(&h);
  zemGetErrorGlb();
  return 0;
}
