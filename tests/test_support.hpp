// Helpers shared by the tests: a report recorder, pointer conversions as the
// exports see them, a handle without tree, scratch files, and for the load,
// lexer and parse tests report kinds and a memory source with windows of any size.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <source_location>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frame/document.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"
#include "text/input.hpp"
#include "text/load_handle.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

using Texts = std::vector<std::string>;

// Records every report while alive; the pending error code is cleared on entry. What a test leaves
// unchecked at the end fails it: a pending code or a report nobody took.
class Reports {
 public:
  Reports() {
    zemGetErrorGlb();
    voxSetSink([](const char* text, int, void* self) { static_cast<Reports*>(self)->texts_.emplace_back(text); }, this);
  }
  ~Reports() {
    voxSetSink(nullptr, nullptr);
    EXPECT_EQ(zemGetErrorGlb(), 0) << "a code is left pending";
    EXPECT_EQ(texts_, Texts{}) << "reports are left untaken";
  }
  // The texts reported since the last call.
  Texts take() { return std::exchange(texts_, {}); }
  // Expects the pending code (which it clears) and the texts reported since the last call.
  void expect(int code, const Texts& texts, std::source_location at = std::source_location::current()) {
    testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()), "checked here");
    EXPECT_EQ(zemGetErrorGlb(), code);
    EXPECT_EQ(take(), texts);
  }

 private:
  Texts texts_;
};

inline void* asVoid(zem::CzemBase* p) { return p; }
inline zem::CzemNode* asNode(void* p) { return static_cast<zem::CzemNode*>(static_cast<zem::CzemBase*>(p)); }

// A document handle whose tree is missing, as after a load that failed to parse.
class TreelessDocument : public zem::CzemData {
 public:
  TreelessDocument() : CzemData(nullptr) {}
};

// A fresh folder under the test temp dir, named after the running test.
inline std::filesystem::path scratchDir() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  // One folder a process, so that test runs of several build trees at once never share files.
  auto dir = std::filesystem::path(testing::TempDir()) / ("zem-" + std::to_string(getpid())) / info->test_suite_name() /
             info->name();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline std::string readFile(const std::filesystem::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A document handle that closes itself when it goes out of scope or takes another handle; it
// converts to the raw handle wherever an export wants one.
class Handle {
 public:
  Handle(void* handle = nullptr) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle& operator=(void* handle) {
    close();
    handle_ = handle;
    return *this;
  }
  ~Handle() { close(); }
  operator void*() const { return handle_; }
  // Gives the handle up without closing it, as after a call that closed it.
  void* release() { return std::exchange(handle_, nullptr); }
  void close() {
    if (handle_ != nullptr) zemClose(&handle_);
  }

 private:
  void* handle_;
};

// A built document with target `target` and, when given, keyword `keyword` open; the caller closes it.
inline void* createDocument(const char* target, const char* keyword = nullptr) {
  void* doc = zemCreate();
  zemAddTarget(doc, target);
  if (keyword != nullptr) zemAddKeyword(doc, keyword);
  return doc;
}

// Loads `text` from a scratch file; the caller closes the handle.
inline void* loadDocument(const std::string& text) {
  const auto file = scratchDir() / "document.txt";
  writeFile(file, text);
  return zemLoadFile(file.string().c_str(), 0);
}

// The syntax error record of a load handle as "message line:column"; the returned text and the
// out-argument agree.
inline std::string syntaxErrorOf(void* handle) {
  int line = -1, column = -1;
  const char* message = nullptr;
  const std::string returned = zemGetSyntaxErr(handle, &line, &column, &message);
  EXPECT_EQ(returned, message);
  return returned + " " + std::to_string(line) + ":" + std::to_string(column);
}

// The children of a node through the exports, in order: a section as "[name children]", a keyword
// or default line as "name=" and the syntax classes of its values joined by commas.
inline std::string treeOf(void* node) {
  std::string out;
  for (int i = 1; i <= zemGetNoNodes(node); ++i) {
    void* child = zemNodeByNum(node, static_cast<unsigned>(i));
    out += i == 1 ? "" : " ";
    if (zemIsSection(child) != 0) {
      const std::string below = treeOf(child);
      out.append("[").append(zemGetName(child)).append(below.empty() ? "" : " ").append(below).append("]");
      continue;
    }
    out.append(zemGetName(child)).append("=");
    for (int v = 1; v <= zemGetNoParams(child); ++v)
      out.append(v == 1 ? "" : ",").append(std::to_string(zemGetSyntaxClass(zemParamByNum(child, v))));
  }
  return out;
}

// The written text after the header, which ends with its first empty line.
inline std::string bodyOf(const std::string& written) { return written.substr(written.find("\r\n\r\n") + 4); }

// The written text of a document (after its header), or "" when nothing was written.
inline std::string writtenBody(void* handle) {
  const auto file = scratchDir() / "written.txt";
  zemWrite(handle, file.string().c_str());
  return std::filesystem::exists(file) ? bodyOf(readFile(file)) : "";
}

// Writes the document and loads the text again, expecting no error; the caller closes the result.
inline void* reread(void* handle) {
  const auto file = scratchDir() / "reread.txt";
  zemWrite(handle, file.string().c_str());
  zemGetErrorGlb();
  void* again = zemLoadFile(file.string().c_str(), 1);
  EXPECT_EQ(zemGetErrorGlb(), 0) << readFile(file);
  return again;
}

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
