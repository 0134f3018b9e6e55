// Helpers for the tests of the reading, building and writing exports: a
// report recorder, a document handle without tree, and file helpers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/document.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

namespace zem_test {

// Records every report while alive; starts with no pending error code.
class Reports {
 public:
  Reports() {
    zemGetErrorGlb();
    voxSetSink(&Reports::record, this);
  }
  ~Reports() { voxSetSink(nullptr, nullptr); }
  Reports(const Reports&) = delete;
  Reports& operator=(const Reports&) = delete;

  // The reports since the last call.
  std::vector<std::string> take() {
    std::vector<std::string> out;
    out.swap(texts_);
    return out;
  }

 private:
  static void record(const char* text, int, void* self) { static_cast<Reports*>(self)->texts_.emplace_back(text); }
  std::vector<std::string> texts_;
};

using Texts = std::vector<std::string>;

// A document handle whose tree is missing, as after a load that failed to parse.
class TreelessDocument : public zem::CzemData {
 public:
  TreelessDocument() : CzemData(nullptr) {}
};

inline void* asHandle(zem::CzemData* data) { return static_cast<zem::CzemBase*>(data); }

// A fresh folder under the test temp dir, named after the running test.
inline std::filesystem::path scratchDir() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  auto dir = std::filesystem::path(testing::TempDir()) / "zem_api" /
             (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// The written text after the four header lines.
inline std::string bodyOf(const std::string& written) {
  std::size_t at = 0;
  for (int line = 0; line < 4 && at != std::string::npos; ++line) {
    at = written.find("\r\n", at);
    if (at != std::string::npos) at += 2;
  }
  return at == std::string::npos ? std::string() : written.substr(at);
}

// Writes the document to a scratch file and returns its text after the header.
inline std::string writtenBody(void* handle, const std::filesystem::path& file) {
  zemWrite(handle, file.string().c_str());
  return bodyOf(readFile(file));
}

}  // namespace zem_test
