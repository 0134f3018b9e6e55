#include "model/node_arena.hpp"

#include <sys/mman.h>

#include <cstddef>
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

// A mapping of `size` bytes aligned to its size, or null. The blocks are not
// offered for huge pages: where free memory is fragmented the kernel first
// compacts it to make them, and the time of a large load then varied by up
// to 70 % from run to run; small pages cost the same on the median, and
// steadily.
char* mapAligned(std::size_t size) {
  const std::size_t span = size + size;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (address + size - 1) & ~(static_cast<std::uintptr_t>(size) - 1);
  if (aligned > address) munmap(raw, aligned - address);
  const std::uintptr_t tail = address + span - (aligned + size);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  auto* block = reinterpret_cast<char*>(aligned);
  return block;
}

}  // namespace

NodeArena::~NodeArena() {
  for (const Block& block : blocks_) {
    if (block.mappedSize != 0)
      munmap(block.start, block.mappedSize);
    else
      std::free(block.start);
  }
}

char* NodeArena::newBlock(std::size_t size) {
  blocks_.reserve(blocks_.size() + 1);
  if (size == kBlockSize && heapBlocks_ >= kHeapBlocksMax) {
    if (char* block = mapAligned(kMappedBlockSize)) {
      blocks_.push_back({block, kMappedBlockSize});
      populate(block, kMappedBlockSize);
      return block;
    }
  }
  char* block = static_cast<char*>(std::malloc(size));
  if (block == nullptr) throw std::bad_alloc();
  blocks_.push_back({block, 0});
  if (size == kBlockSize) ++heapBlocks_;
  populate(block, size);
  return block;
}

void* NodeArena::allocateInNewBlock(std::size_t size, std::size_t align) {
  auto aligned = [align](char* p) {
    const auto address = reinterpret_cast<std::uintptr_t>(p);
    return reinterpret_cast<char*>((address + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1));
  };
  // An oversized request gets a block of its own; the current block stays open.
  const std::size_t blockSize = size + align > kBlockSize / 4 ? size + align : kBlockSize;
  char* block = newBlock(blockSize);
  if (blockSize != kBlockSize) return aligned(block);
  next_ = block;
  end_ = block + (blocks_.back().mappedSize != 0 ? blocks_.back().mappedSize : blockSize);
  char* start = aligned(next_);
  next_ = start + size;
  return start;
}

void* NodeArena::allocateList(std::size_t bytes, std::size_t& granted) {
  const int c = listClass(bytes);
  if (static_cast<std::size_t>(c) >= kListClasses) return nullptr;
  granted = kListMin << c;
  if (FreeList* head = freeLists_[c]) {
    freeLists_[c] = head->next;
    return head;
  }
  return allocate(granted, alignof(void*));
}

void NodeArena::releaseList(void* storage, std::size_t bytes) {
  const int c = listClass(bytes);
  if (storage == nullptr || static_cast<std::size_t>(c) >= kListClasses) return;
  auto* entry = static_cast<FreeList*>(storage);
  entry->next = freeLists_[c];
  freeLists_[c] = entry;
}

void NodeArena::setLongText(Text& target, std::string_view text) {
  char* copy = static_cast<char*>(allocate(text.size() + 1, 1));
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  target.borrow(std::string_view(copy, text.size()));
}

}  // namespace zem
