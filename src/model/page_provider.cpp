#include "model/page_provider.hpp"

#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>

#include <cstdint>

namespace zem {

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// The blocks are not offered for huge pages: where free memory is fragmented
// the kernel first compacts it to make them, and in a virtual machine that
// hands freed memory back to its host they come back slowly; the time of a
// large load then varied by up to 70 % from run to run, while small pages
// cost the same on the median, and steadily.
char* mapAlignedBlock(std::size_t size) {
  const std::size_t span = size + size;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (address + size - 1) & ~(static_cast<std::uintptr_t>(size) - 1);
  if (aligned > address) munmap(raw, aligned - address);
  const std::uintptr_t tail = address + span - (aligned + size);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  return reinterpret_cast<char*>(aligned);
}

// Faulting the pages in one by one while nodes are written costs about twice
// as much as one request for the whole block.
void providePages(char* block, std::size_t size) {
  constexpr std::uintptr_t kPage = 4096;
  const auto first = (reinterpret_cast<std::uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
  const auto last = (reinterpret_cast<std::uintptr_t>(block) + size) & ~(kPage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
}

PageProvider::PageProvider(std::size_t blockSize, std::size_t ahead) : blockSize_(blockSize), ahead_(ahead) {
  ready_.reserve(ahead_);
  // The worker takes no signals: an application's handlers keep running on
  // its own threads, whatever a load is doing.
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &previous);
  try {
    worker_ = std::thread([this] { run(); });
  } catch (...) {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    throw;
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

PageProvider::~PageProvider() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wanted_.notify_one();
  worker_.join();
  for (char* block : ready_) munmap(block, blockSize_);
}

char* PageProvider::take() {
  char* block = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ready_.empty()) return nullptr;
    block = ready_.front();
    ready_.erase(ready_.begin());
  }
  wanted_.notify_one();
  return block;
}

void PageProvider::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wanted_.wait(lock, [this] { return stopping_ || ready_.size() < ahead_; });
    if (stopping_) return;
    lock.unlock();
    char* block = mapAlignedBlock(blockSize_);
    if (block != nullptr) providePages(block, blockSize_);
    lock.lock();
    // Out of address space: the loading thread maps its own and fails there.
    if (block == nullptr) return;
    ready_.push_back(block);
  }
}

}  // namespace zem
