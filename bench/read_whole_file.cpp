#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "walk_counts.hpp"

namespace zem_bench {

bool readWholeFile(const char* path, std::string& data, std::size_t extra) {
  const int fd = ::open(path, O_RDONLY);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return false;
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  data.resize(size + extra);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, data.data() + done, size - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(done + extra);
  return done == size;
}

}  // namespace zem_bench
