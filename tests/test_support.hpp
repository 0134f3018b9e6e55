// Helpers shared by the tests: a report recorder, pointer conversions as the
// exports see them, a handle without tree, and scratch files.
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
#include "vox/vox.h"
#include "zem/zem.h"

using Texts = std::vector<std::string>;

// Records every report while alive; the pending error code is cleared on entry and exit.
class Reports {
 public:
  Reports() {
    zemGetErrorGlb();
    voxSetSink([](const char* text, int, void* self) { static_cast<Reports*>(self)->texts_.emplace_back(text); }, this);
  }
  ~Reports() {
    voxSetSink(nullptr, nullptr);
    zemGetErrorGlb();
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

// Loads `text` from a scratch file; the caller closes the handle.
inline void* loadDocument(const std::string& text) {
  const auto file = scratchDir() / "document.txt";
  writeFile(file, text);
  return zemLoadFile(file.string().c_str(), 0);
}

// The written text after the header, which ends with its first empty line.
inline std::string bodyOf(const std::string& written) { return written.substr(written.find("\r\n\r\n") + 4); }
