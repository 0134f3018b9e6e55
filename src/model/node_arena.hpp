// Block allocation for the nodes and long texts of a loaded tree. A load makes
// millions of small objects that live exactly as long as their document, so
// they are carved from large blocks and released together when the document
// closes. A node made here still runs its destructor when it is deleted (an
// edit may remove it early); only its memory waits for the arena.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "model/text.hpp"

namespace zem {

class NodeArena {
 public:
  NodeArena() = default;
  ~NodeArena();
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  void* allocate(std::size_t size, std::size_t align);

  // Constructs a node in the arena and marks it so that deleting it does not
  // hand its memory back to the heap.
  template <typename T, typename... Args>
  T* make(Args&&... args) {
    T* node = new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    node->markArenaAllocated();
    return node;
  }

  // Stores `text` into `target`: short texts inside the Text itself, long ones
  // copied here (with a terminating zero) and borrowed.
  void setText(Text& target, std::string_view text);

 private:
  // Large enough that block bookkeeping vanishes; below the C library's
  // threshold for mapping memory directly, so blocks of a closed document are
  // reused by the next load instead of being faulted in again.
  static constexpr std::size_t kBlockSize = 64 * 1024 - 64;

  std::vector<char*> blocks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
};

// Stores `text` into `target`, through the arena when there is one.
inline void storeText(Text& target, std::string_view text, NodeArena* arena) {
  if (arena != nullptr)
    arena->setText(target, text);
  else
    target.assign(text);
}

}  // namespace zem
