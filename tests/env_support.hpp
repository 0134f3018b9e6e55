// Environment variables set (or, with a null value, removed) for the running
// test only: the destructor puts back what was there.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScopedEnv {
 public:
  ScopedEnv() = default;
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      put(it->first, it->second ? it->second->c_str() : nullptr);
  }
  ScopedEnv& set(const std::string& name, const char* value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    put(name, value);
    return *this;
  }

 private:
  static void put(const std::string& name, const char* value) {
    if (value != nullptr)
      setenv(name.c_str(), value, 1);
    else
      unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
