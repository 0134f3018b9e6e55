#include "frame/identity.hpp"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>

namespace zem {
namespace {

// The platform's classic path limit bounds the identity text.
constexpr std::size_t kMaxPath = 260;

char identity[kMaxPath + 1] = "Unknown";

// Runs once when the loader attaches the library to the process.
__attribute__((constructor)) void recordIdentity() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&recordIdentity), &info) == 0 || info.dli_fname == nullptr) return;
  const std::string full = fullModulePath(info.dli_fname);
  if (!full.empty() && full.size() <= kMaxPath) std::memcpy(identity, full.c_str(), full.size() + 1);
}

}  // namespace

std::string fullModulePath(const char* loaderName) {
  std::string_view name(loaderName);
  if (name.empty()) return {};
  if (name.front() == '/') return std::string(name);
  while (name.starts_with("./")) name.remove_prefix(2);
  char cwd[kMaxPath + 1];
  if (getcwd(cwd, sizeof cwd) == nullptr) return {};
  std::string full(cwd);
  if (full.back() != '/') full += '/';
  full.append(name);
  return full;
}

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
