#include "frame/identity.hpp"

#include <dlfcn.h>

#include <cstring>

namespace zem {
namespace {

// The platform's classic path limit bounds the identity text.
constexpr std::size_t kMaxPath = 260;

char identity[kMaxPath + 1] = "Unknown";

// Runs once when the loader attaches the library to the process.
__attribute__((constructor)) void recordIdentity() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&recordIdentity), &info) != 0 && info.dli_fname != nullptr &&
      std::strlen(info.dli_fname) <= kMaxPath && info.dli_fname[0] != '\0')
    std::strcpy(identity, info.dli_fname);
}

}  // namespace

const char* buildStamp() { return __DATE__ " " __TIME__; }
const char* libraryIdentity() { return identity; }
const char* hostBuildVersion() { return ""; }

int copyText(const char* text, char* buffer, int size) {
  if (text == nullptr) return -2;
  if (buffer == nullptr || size <= 0) return -1;
  const std::size_t len = std::strlen(text);
  if (len >= static_cast<std::size_t>(size)) return -1;
  std::memcpy(buffer, text, len + 1);
  return 0;
}

}  // namespace zem
