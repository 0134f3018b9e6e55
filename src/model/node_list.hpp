// The ordered lists of named nodes: a compact array of trivially copyable
// elements (node pointers, index groups). While a tree loads, its lists grow
// inside the document's node arena; a list an edit makes grow moves to the
// heap. A loaded keyword's list is sized once in the arena, and a loaded
// section's lists are fitted to their sizes when the section ends.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>

#include "model/node_arena.hpp"

namespace zem {

class CzemNode;

template <typename E>
class CompactArray {
  static_assert(std::is_trivially_copyable_v<E>);

 public:
  using iterator = E*;
  using const_iterator = const E*;

  CompactArray() = default;
  ~CompactArray() {
    if (owned()) std::free(data_);
  }
  CompactArray(const CompactArray&) = delete;
  CompactArray& operator=(const CompactArray&) = delete;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const E& operator[](std::size_t i) const { return data_[i]; }
  E& operator[](std::size_t i) { return data_[i]; }
  const E& back() const { return data_[size_ - 1]; }
  iterator begin() { return data_; }
  iterator end() { return data_ + size_; }
  const_iterator begin() const { return data_; }
  const_iterator end() const { return data_ + size_; }

  // Grows on the heap.
  void push_back(const E& e) { push_back(e, nullptr); }
  // Grows in `arena` when one is given; the arena must be the one that holds
  // the list's present storage, if that is borrowed.
  void push_back(const E& e, NodeArena* arena) {
    if (size_ == capacity()) grow(size_ + 1, arena);
    data_[size_++] = e;
  }
  void reserve(std::size_t n) {
    if (n > capacity()) grow(n, nullptr);
  }
  iterator insert(const_iterator pos, const E& e) {
    const std::size_t at = static_cast<std::size_t>(pos - data_);
    if (size_ == capacity()) grow(size_ + 1, nullptr);
    std::memmove(static_cast<void*>(data_ + at + 1), data_ + at, (size_ - at) * sizeof(E));
    data_[at] = e;
    ++size_;
    return data_ + at;
  }
  iterator erase(const_iterator pos) {
    const std::size_t at = static_cast<std::size_t>(pos - data_);
    std::memmove(static_cast<void*>(data_ + at), data_ + at + 1, (size_ - at - 1) * sizeof(E));
    --size_;
    return data_ + at;
  }
  void clear() { size_ = 0; }
  // Whether the list holds a heap block that its destruction frees.
  bool ownsMemory() const { return owned() && data_ != nullptr; }

  // Moves the entries of a list that will not grow any more while its tree
  // loads into arena storage of exactly their size; the storage it leaves
  // serves the lists that are still growing. An edit that grows the list
  // later moves it to the heap as usual.
  void fitInArena(NodeArena& arena) {
    const bool listStorage = (capacity_ & kListStorage) != 0;
    if (size_ == capacity() || (!owned() && !listStorage)) return;
    E* block = nullptr;
    if (size_ != 0) {
      block = static_cast<E*>(arena.allocate(size_ * sizeof(E), alignof(E)));
      std::memcpy(static_cast<void*>(block), data_, size_ * sizeof(E));
    }
    if (listStorage)
      arena.releaseList(data_, capacity() * sizeof(E));
    else
      std::free(data_);
    data_ = block;
    capacity_ = size_ | kBorrowed;
  }

  // Takes `block` (size entries, owned by a node arena) as the list's storage.
  // The list must be empty.
  void adopt(E* block, std::size_t size) {
    if (owned()) std::free(data_);
    data_ = block;
    size_ = static_cast<std::uint32_t>(size);
    capacity_ = static_cast<std::uint32_t>(size) | kBorrowed;
  }

 private:
  static constexpr std::uint32_t kBorrowed = 0x80000000u;
  static constexpr std::uint32_t kListStorage = 0x40000000u;  // taken from the arena's list storage

  std::size_t capacity() const { return capacity_ & ~(kBorrowed | kListStorage); }
  bool owned() const { return (capacity_ & kBorrowed) == 0; }
  void grow(std::size_t needed, NodeArena* arena) {
    std::size_t cap = capacity() < 4 ? 4 : capacity() * 2;
    while (cap < needed) cap *= 2;
    std::size_t granted = 0;
    E* block = arena != nullptr ? static_cast<E*>(arena->allocateList(cap * sizeof(E), granted)) : nullptr;
    std::uint32_t flags = 0;
    if (block != nullptr) {
      cap = granted / sizeof(E);
      flags = kBorrowed | kListStorage;
    } else {
      block = static_cast<E*>(std::malloc(cap * sizeof(E)));
      if (block == nullptr) throw std::bad_alloc();
    }
    if (size_ != 0) std::memcpy(static_cast<void*>(block), data_, size_ * sizeof(E));
    if (owned())
      std::free(data_);
    else if (arena != nullptr && (capacity_ & kListStorage) != 0)
      arena->releaseList(data_, capacity() * sizeof(E));
    data_ = block;
    capacity_ = static_cast<std::uint32_t>(cap) | flags;
  }

  E* data_ = nullptr;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 0;  // top bits: the storage belongs to a node arena, and came as list storage
};

using NodeList = CompactArray<CzemNode*>;

}  // namespace zem
