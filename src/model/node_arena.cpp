#include "model/node_arena.hpp"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>

#include "model/page_provider.hpp"
#include "text/byte_words.hpp"

namespace zem {

NodeArena::NodeArena() = default;

NodeArena::~NodeArena() {
  endGrowth();
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
    startProvider();
    char* block = provider_ != nullptr ? provider_->take() : nullptr;
    if (block == nullptr) {
      block = mapAlignedBlock(kMappedBlockSize);
      if (block != nullptr) providePages(block, kMappedBlockSize);
    }
    if (block != nullptr) {
      blocks_.push_back({block, kMappedBlockSize});
      return block;
    }
  }
  char* block = static_cast<char*>(std::malloc(size));
  if (block == nullptr) throw std::bad_alloc();
  blocks_.push_back({block, 0});
  if (size == kBlockSize) ++heapBlocks_;
  providePages(block, size);
  return block;
}

void NodeArena::startProvider() {
  if (provider_ != nullptr || providerTried_) return;
  providerTried_ = true;
  try {
    provider_ = std::make_unique<PageProvider>(kMappedBlockSize, kBlocksAhead);
  } catch (const std::system_error&) {
    // No thread to be had: every block is mapped here, as for a small load.
  } catch (const std::bad_alloc&) {
    // Nor memory for it: the same.
  }
}

void NodeArena::endGrowth() { provider_.reset(); }

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
  // Most long texts of a file (file names, CLOBs, sentences) are a few words:
  // moved without a call.
  if (text.size() <= 32)
    byte_words::copyShort(copy, text.data(), text.size());
  else
    std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  target.borrow(std::string_view(copy, text.size()));
}

}  // namespace zem
