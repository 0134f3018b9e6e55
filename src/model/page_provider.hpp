// Fresh memory for a large load, made ready on the other core. Providing the
// pages of a mapping is kernel work of the same order as parsing what fills
// them; a worker thread maps and provides the next blocks while the loading
// thread fills the present one, so a load waits for neither.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

namespace zem {

// A mapping of `size` bytes aligned to its size, or null.
char* mapAlignedBlock(std::size_t size);
// Asks the kernel to provide the pages of [block, block + size) in one call; a
// kernel that does not know the request leaves them to be faulted.
void providePages(char* block, std::size_t size);

class PageProvider {
 public:
  // Keeps up to `ahead` blocks of `blockSize` bytes mapped and provided.
  PageProvider(std::size_t blockSize, std::size_t ahead);
  // Stops the worker and unmaps the blocks nobody took.
  ~PageProvider();
  PageProvider(const PageProvider&) = delete;
  PageProvider& operator=(const PageProvider&) = delete;

  // A ready block, or null when none is ready yet (the caller then maps one
  // itself rather than wait). The caller owns the block.
  char* take();

 private:
  void run();

  const std::size_t blockSize_;
  const std::size_t ahead_;
  std::mutex mutex_;
  std::condition_variable wanted_;
  // Reserved for `ahead` blocks when made: the worker never allocates, so
  // nothing can be thrown on its thread.
  std::vector<char*> ready_;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace zem
