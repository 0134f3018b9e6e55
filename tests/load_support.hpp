// Helpers of the load, lexer and parse tests: temporary files, report kinds,
// and a memory source with windows of any size.
#pragma once

#include <unistd.h>

#include <string>
#include <vector>

#include "test_support.hpp"
#include "text/input.hpp"
#include "text/load_handle.hpp"

namespace zem_test {

// Writes `content` byte for byte to a file in the test temp folder; ctest runs test processes in
// parallel, so each process writes files of its own.
inline std::string writeTempFile(const std::string& name, const std::string& content) {
  const std::string path = testing::TempDir() + "zem_load_" + std::to_string(getpid()) + "_" + name;
  writeFile(path, content);
  return path;
}

// The tree of a load handle, or null.
inline zem::CzemTargetList* rootOf(void* handle) {
  auto* load = dynamic_cast<zem::CzemLoad*>(static_cast<zem::CzemBase*>(handle));
  return load != nullptr ? load->root() : nullptr;
}

// Loads `content` from a temp file; the caller closes the handle.
inline void* loadText(const std::string& name, const std::string& content, int quiet = 1) {
  return zemLoadFile(writeTempFile(name, content).c_str(), quiet);
}

// `levels` sections, each inside the one before, around `innermost`.
inline std::string nested(int levels, const std::string& innermost = "k = +1\n") {
  std::string text;
  for (int i = 0; i < levels; ++i) text += "[S]\n";
  text += innermost;
  for (int i = 0; i < levels; ++i) text += "EndSect\n";
  return text;
}

// The kinds of the reports `action` makes.
template <typename Action>
std::vector<int> reportKinds(Action action) {
  std::vector<int> kinds;
  voxSetSink([](const char*, int kind, void* out) { static_cast<std::vector<int>*>(out)->push_back(kind); }, &kinds);
  action();
  voxSetSink(nullptr, nullptr);
  return kinds;
}

// A source over a string, handed out in windows of `window` characters, so that every place of the
// text can fall on a window boundary. It can start over (as a file can) unless told otherwise.
class MemoryInput final : public zem::CyyInput {
 public:
  MemoryInput(std::string text, std::size_t window, bool rewindable = true)
      : text_(" " + std::move(text)), window_(window), rewindable_(rewindable) {
    restart();
    state_ = kReady;
  }
  bool rewindable() const override { return rewindable_; }

 private:
  const unsigned char* at(std::size_t i) const { return reinterpret_cast<const unsigned char*>(text_.data()) + i; }
  bool restart() override {
    setWindow(at(1), at(1));
    next_ = at(1);
    return true;
  }
  bool underflow() override {
    const auto* end = at(text_.size());
    if (next_ == end) return false;
    const unsigned char* stop = static_cast<std::size_t>(end - next_) < window_ ? end : next_ + window_;
    setWindow(next_, stop);
    next_ = stop;
    return true;
  }

  std::string text_;  // a leading blank stands before the first window
  std::size_t window_;
  bool rewindable_;
  const unsigned char* next_ = nullptr;
};

}  // namespace zem_test
