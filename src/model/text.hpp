// A compact owned byte string: texts of up to 14 bytes live inside the object,
// longer ones on the heap. Names and values of a tree are mostly short, so most
// nodes carry their texts without a separate allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

namespace zem {

class Text {
 public:
  Text() noexcept { clearInline(); }
  explicit Text(std::string_view s) {
    clearInline();
    assign(s);
  }
  Text(const Text& other) {
    clearInline();
    assign(other.view());
  }
  Text& operator=(const Text& other) {
    if (this != &other) assign(other.view());
    return *this;
  }
  Text(Text&& other) noexcept {
    std::memcpy(raw_, other.raw_, sizeof raw_);
    other.clearInline();
  }
  Text& operator=(Text&& other) noexcept {
    if (this != &other) {
      release();
      std::memcpy(raw_, other.raw_, sizeof raw_);
      other.clearInline();
    }
    return *this;
  }
  ~Text() { release(); }

  void assign(std::string_view s) {
    if (s.size() <= kInlineMax) {
      char* old = owned() ? heapPtr() : nullptr;
      // s may point into this object's own heap block: copy before freeing.
      // An empty view may carry a null pointer, which memcpy must not receive.
      unsigned char tmp[kInlineMax + 1];
      if (!s.empty()) std::memcpy(tmp, s.data(), s.size());
      std::memcpy(raw_, tmp, s.size());
      raw_[s.size()] = 0;
      raw_[kTag] = static_cast<unsigned char>(s.size());
      std::free(old);
      return;
    }
    char* block = static_cast<char*>(std::malloc(s.size() + 1));
    if (block == nullptr) throw std::bad_alloc();
    std::memcpy(block, s.data(), s.size());
    block[s.size()] = '\0';
    release();
    const auto len = static_cast<std::uint32_t>(s.size());
    std::memcpy(raw_, &block, sizeof block);
    std::memcpy(raw_ + 8, &len, sizeof len);
    raw_[kTag] = kHeapTag;
  }
  void clear() { release(); }

  // Refers to `s` without copying it. `s` must be zero-terminated and outlive
  // this Text (a node arena guarantees both); the Text never frees it.
  void borrow(std::string_view s) noexcept {
    release();
    char* p = const_cast<char*>(s.data());
    const auto len = static_cast<std::uint32_t>(s.size());
    std::memcpy(raw_, &p, sizeof p);
    std::memcpy(raw_ + 8, &len, sizeof len);
    raw_[kTag] = kBorrowedTag;
  }

  static constexpr std::size_t kInlineMax = 14;

  const char* c_str() const noexcept { return onHeap() ? heapPtr() : reinterpret_cast<const char*>(raw_); }
  const char* data() const noexcept { return c_str(); }
  std::size_t size() const noexcept {
    if (!onHeap()) return raw_[kTag];
    std::uint32_t len;
    std::memcpy(&len, raw_ + 8, sizeof len);
    return len;
  }
  bool empty() const noexcept { return size() == 0; }
  std::string_view view() const noexcept { return {c_str(), size()}; }
  // Whether the text holds a heap block that its destruction frees.
  bool ownsMemory() const noexcept { return owned(); }

 private:
  static constexpr std::size_t kTag = 15;
  static constexpr unsigned char kHeapTag = 0xFF;
  static constexpr unsigned char kBorrowedTag = 0xFE;

  // Heap and borrowed texts both keep a pointer and a length.
  bool onHeap() const noexcept { return raw_[kTag] >= kBorrowedTag; }
  bool owned() const noexcept { return raw_[kTag] == kHeapTag; }
  char* heapPtr() const noexcept {
    char* p;
    std::memcpy(&p, raw_, sizeof p);
    return p;
  }
  void clearInline() noexcept {
    raw_[0] = 0;
    raw_[kTag] = 0;
  }
  void release() noexcept {
    if (owned()) std::free(heapPtr());
    clearInline();
  }

  unsigned char raw_[16];
};

static_assert(sizeof(Text) == 16);

}  // namespace zem
