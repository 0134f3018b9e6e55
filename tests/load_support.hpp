// Helpers of the load, lexer and parse tests: temporary files, captured
// reports, and a memory source with windows of any size.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "text/input.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

namespace zem_test {

// Writes `content` byte for byte to a fresh file in the test temp folder.
inline std::string writeTempFile(const std::string& name, const std::string& content) {
  // ctest runs test processes in parallel: each process writes files of its own.
  const std::string path = testing::TempDir() + "zem_load_" + std::to_string(getpid()) + "_" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(f, nullptr) << path;
  if (f != nullptr) {
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
  return path;
}

struct Report {
  std::string text;
  int kind;
};

// Collects every report while alive.
class ReportCapture {
 public:
  ReportCapture() { voxSetSink(&ReportCapture::sink, this); }
  ~ReportCapture() { voxSetSink(nullptr, nullptr); }
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  const std::vector<Report>& reports() const { return reports_; }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Report& r : reports_) out.push_back(r.text);
    return out;
  }
  void clear() { reports_.clear(); }

 private:
  static void sink(const char* text, int kind, void* user) {
    static_cast<ReportCapture*>(user)->reports_.push_back({text != nullptr ? text : "", kind});
  }
  std::vector<Report> reports_;
};

// A source over a string, handed out in windows of `window` characters, so
// that every place of the text can fall on a window boundary. It can start
// over (as a file can) unless told otherwise.
class MemoryInput final : public zem::CyyInput {
 public:
  MemoryInput(std::string text, std::size_t window, bool rewindable = true)
      : text_(" " + std::move(text)), window_(window), rewindable_(rewindable) {
    restart();
    state_ = kReady;
  }

  bool rewindable() const override { return rewindable_; }

 private:
  bool restart() override {
    const auto* base = reinterpret_cast<const unsigned char*>(text_.data()) + 1;
    setWindow(base, base);
    next_ = base;
    return true;
  }

  bool underflow() override {
    const auto* end = reinterpret_cast<const unsigned char*>(text_.data()) + text_.size();
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

// Loads `content` from a temp file; the caller closes the handle.
inline void* loadText(const std::string& name, const std::string& content, int quiet = 1) {
  return zemLoadFile(writeTempFile(name, content).c_str(), quiet);
}

}  // namespace zem_test
