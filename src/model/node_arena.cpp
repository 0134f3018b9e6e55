#include "model/node_arena.hpp"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace zem {
namespace {

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// Asks the kernel to provide the block's pages in one call. Faulting them in
// one by one while nodes are written costs about twice as much; a kernel that
// does not know the request simply leaves the pages to be faulted.
void populate(char* block, std::size_t size) {
  constexpr std::uintptr_t kPage = 4096;
  const auto first = (reinterpret_cast<std::uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
  const auto last = (reinterpret_cast<std::uintptr_t>(block) + size) & ~(kPage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
}

}  // namespace

NodeArena::~NodeArena() {
  for (char* block : blocks_) std::free(block);
}

void* NodeArena::allocate(std::size_t size, std::size_t align) {
  auto aligned = [align](char* p) {
    const auto address = reinterpret_cast<std::uintptr_t>(p);
    return reinterpret_cast<char*>((address + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1));
  };
  char* start = next_ != nullptr ? aligned(next_) : nullptr;
  if (start == nullptr || start + size > end_) {
    // An oversized request gets a block of its own; the current block stays open.
    const std::size_t blockSize = size + align > kBlockSize / 4 ? size + align : kBlockSize;
    char* block = static_cast<char*>(std::malloc(blockSize));
    if (block == nullptr) throw std::bad_alloc();
    blocks_.push_back(block);
    populate(block, blockSize);
    if (blockSize != kBlockSize) return aligned(block);
    next_ = block;
    end_ = block + blockSize;
    start = aligned(next_);
  }
  next_ = start + size;
  return start;
}

void NodeArena::setText(Text& target, std::string_view text) {
  if (text.size() <= Text::kInlineMax) {
    target.assign(text);
    return;
  }
  char* copy = static_cast<char*>(allocate(text.size() + 1, 1));
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  target.borrow(std::string_view(copy, text.size()));
}

}  // namespace zem
