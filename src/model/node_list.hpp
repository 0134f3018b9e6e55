// The ordered child list of a named node: a compact array of node pointers.
// A loaded keyword's list is sized once and may live in the document's node
// arena; it moves to the heap only if an edit makes it grow.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>

namespace zem {

class CzemNode;

class NodeList {
 public:
  using iterator = CzemNode**;
  using const_iterator = CzemNode* const*;

  NodeList() = default;
  ~NodeList() {
    if (owned()) std::free(data_);
  }
  NodeList(const NodeList&) = delete;
  NodeList& operator=(const NodeList&) = delete;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  CzemNode* operator[](std::size_t i) const { return data_[i]; }
  CzemNode*& operator[](std::size_t i) { return data_[i]; }
  CzemNode* back() const { return data_[size_ - 1]; }
  iterator begin() { return data_; }
  iterator end() { return data_ + size_; }
  const_iterator begin() const { return data_; }
  const_iterator end() const { return data_ + size_; }

  void push_back(CzemNode* node) {
    if (size_ == capacity()) grow(size_ + 1);
    data_[size_++] = node;
  }
  void reserve(std::size_t n) {
    if (n > capacity()) grow(n);
  }
  iterator insert(const_iterator pos, CzemNode* node) {
    const std::size_t at = static_cast<std::size_t>(pos - data_);
    if (size_ == capacity()) grow(size_ + 1);
    std::memmove(data_ + at + 1, data_ + at, (size_ - at) * sizeof(CzemNode*));
    data_[at] = node;
    ++size_;
    return data_ + at;
  }
  iterator erase(const_iterator pos) {
    const std::size_t at = static_cast<std::size_t>(pos - data_);
    std::memmove(data_ + at, data_ + at + 1, (size_ - at - 1) * sizeof(CzemNode*));
    --size_;
    return data_ + at;
  }
  void clear() { size_ = 0; }

  // Takes `block` (size entries, owned by a node arena) as the list's storage.
  // The list must be empty.
  void adopt(CzemNode** block, std::size_t size) {
    if (owned()) std::free(data_);
    data_ = block;
    size_ = static_cast<std::uint32_t>(size);
    capacity_ = static_cast<std::uint32_t>(size) | kBorrowed;
  }

 private:
  static constexpr std::uint32_t kBorrowed = 0x80000000u;

  std::size_t capacity() const { return capacity_ & ~kBorrowed; }
  bool owned() const { return (capacity_ & kBorrowed) == 0; }
  void grow(std::size_t needed) {
    std::size_t cap = capacity() < 4 ? 4 : capacity() * 2;
    while (cap < needed) cap *= 2;
    auto* block = static_cast<CzemNode**>(std::malloc(cap * sizeof(CzemNode*)));
    if (block == nullptr) throw std::bad_alloc();
    if (size_ != 0) std::memcpy(block, data_, size_ * sizeof(CzemNode*));
    if (owned()) std::free(data_);
    data_ = block;
    capacity_ = static_cast<std::uint32_t>(cap);
  }

  CzemNode** data_ = nullptr;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 0;  // top bit: the storage belongs to a node arena
};

}  // namespace zem
