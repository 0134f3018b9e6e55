// Block allocation for the nodes and long texts of a loaded tree. A load makes
// millions of small objects that live exactly as long as their document, so
// they are carved from large blocks and released together when the document
// closes. A node made here still runs its destructor when it is deleted (an
// edit may remove it early); only its memory waits for the arena.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "model/text.hpp"

namespace zem {

class PageProvider;

class NodeArena {
 public:
  NodeArena();
  ~NodeArena();
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  // Most requests fit the current block: they take its next bytes without a
  // call, which a load makes for every node.
  void* allocate(std::size_t size, std::size_t align) {
    const auto address = reinterpret_cast<std::uintptr_t>(next_);
    const std::uintptr_t start = (address + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1);
    if (next_ == nullptr || start + size > reinterpret_cast<std::uintptr_t>(end_)) [[unlikely]]
      return allocateInNewBlock(size, align);
    next_ += start + size - address;
    return next_ - size;
  }

  // Constructs a node in the arena and marks it so that deleting it does not
  // hand its memory back to the heap.
  template <typename T, typename... Args>
  T* make(Args&&... args) {
    T* node = new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    node->markArenaAllocated();
    return node;
  }

  // Storage of at least `bytes` for a list that grows while the tree loads;
  // `granted` tells how much it is. Null when the list has outgrown what the
  // arena keeps (the heap takes it then).
  void* allocateList(std::size_t bytes, std::size_t& granted);
  // Hands back list storage taken from allocateList, with no more than the
  // granted and more than half of it as `bytes`; the next list of that size
  // reuses it.
  void releaseList(void* storage, std::size_t bytes);

  // Says that the tree is complete: blocks made ready for more growth go back
  // to the system, and the thread that made them ends. A later request maps
  // its blocks itself.
  void endGrowth();

  // Stores `text` into `target`: short texts inside the Text itself, long ones
  // copied here (with a terminating zero) and borrowed.
  void setText(Text& target, std::string_view text) {
    if (text.size() <= Text::kInlineMax)
      target.assign(text);
    else
      setLongText(target, text);
  }

 private:
  void* allocateInNewBlock(std::size_t size, std::size_t align);
  void setLongText(Text& target, std::string_view text);

  // A small document takes its blocks from the heap: large enough that block
  // bookkeeping vanishes, below the C library's threshold for mapping memory
  // directly, so blocks of a closed document are reused by the next load.
  static constexpr std::size_t kBlockSize = 64 * 1024 - 64;
  // Past this much, blocks are mapped 2 MB at a time, their pages provided in
  // one request per block, and closing the document hands the mappings
  // straight back to the system.
  static constexpr std::size_t kHeapBlocksMax = 32;
  static constexpr std::size_t kMappedBlockSize = 2 * 1024 * 1024;
  // A large load has this many mapped blocks made ready ahead of it by a
  // worker thread (see PageProvider); at most that much memory is made ready
  // and not used.
  static constexpr std::size_t kBlocksAhead = 1;

  // List storage comes in powers of two from 32 bytes to 8 kB.
  static constexpr std::size_t kListClasses = 9;
  static constexpr std::size_t kListMin = 32;
  static int listClass(std::size_t bytes) {
    int c = 0;
    for (std::size_t size = kListMin; size < bytes; size *= 2) ++c;
    return c;
  }
  struct FreeList {
    FreeList* next;
  };
  FreeList* freeLists_[kListClasses] = {};

  struct Block {
    char* start;
    std::size_t mappedSize;  // 0 for a block from the heap
  };
  char* newBlock(std::size_t size);
  void startProvider();

  std::vector<Block> blocks_;
  std::size_t heapBlocks_ = 0;
  std::unique_ptr<PageProvider> provider_;
  bool providerTried_ = false;
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
