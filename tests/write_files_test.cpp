// Where the writer's text goes: replacing, appending, and files it cannot write.
#include <gtest/gtest.h>

#include "api_test_support.hpp"
#include "model/named_nodes.hpp"

using zem_test::readFile;
using zem_test::Reports;
using zem_test::Texts;

namespace {

const char* anchorOf(void* handle) {
  return static_cast<zem::CzemNode*>(static_cast<zem::CzemBase*>(zemGetRoot(handle)))->GetAnchorFilename();
}

class WriteFiles : public testing::Test {
 protected:
  void SetUp() override {
    handle = zemCreate();
    zemAddTarget(handle, "A");
    zemAddKeyword(handle, "k");
    zemAddInt(handle, 1);
    zemEndSection(handle);
    dir = zem_test::scratchDir();
  }
  void TearDown() override { zemClose(&handle); }

  Reports reports;
  void* handle = nullptr;
  std::filesystem::path dir;
};

TEST_F(WriteFiles, WriteReplacesAndAppendAddsAFullDocument) {
  const auto file = dir / "doc.txt";
  zem_test::writeFile(file, "old content\r\n");
  zemWrite(handle, file.string().c_str());
  const std::string once = readFile(file);
  EXPECT_EQ(once.find("old content"), std::string::npos);
  EXPECT_EQ(zem_test::bodyOf(once), "[A]\r\n   k = 1\r\nEndSect  // A\r\n\r\n");

  zemAppend(handle, file.string().c_str());
  const std::string twice = readFile(file);
  ASSERT_EQ(twice.substr(0, once.size()), once);
  EXPECT_EQ(zem_test::bodyOf(twice.substr(once.size())), zem_test::bodyOf(once));
  EXPECT_EQ(twice.substr(once.size(), 16), "// Created     :");

  const auto fresh = dir / "appended.txt";
  zemAppend(handle, fresh.string().c_str());
  EXPECT_EQ(readFile(fresh).substr(0, 16), "// Created     :");
  EXPECT_EQ(zem_test::bodyOf(readFile(fresh)), zem_test::bodyOf(once));
  EXPECT_STREQ(anchorOf(handle), fresh.string().c_str());
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST_F(WriteFiles, FileThatCannotBeOpenedIsReportedAndChangesNothing) {
  static_cast<zem::CzemTargetList*>(static_cast<zem::CzemBase*>(zemGetRoot(handle)))->setAnchor("/before.txt");
  const auto file = dir / "missing" / "doc.txt";
  zemWrite(handle, file.string().c_str());
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  EXPECT_EQ(reports.take(), Texts{"Open error: " + file.string()});
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_STREQ(anchorOf(handle), "/before.txt");

  zemAppend(handle, "");
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  zemWrite(handle, nullptr);
  EXPECT_EQ(reports.take(), (Texts{"Open error: ", "Open error: "}));
  EXPECT_STREQ(anchorOf(handle), "/before.txt");
}

TEST_F(WriteFiles, WriteThatDoesNotCompleteIsReportedAndTheAnchorKept) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no device that refuses writes";
  zemWrite(handle, "/dev/full");
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  zemAppend(handle, "/dev/full");
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  EXPECT_EQ(reports.take(), Texts(2, "Open error: /dev/full"));
  EXPECT_STREQ(anchorOf(handle), "");
}

TEST_F(WriteFiles, InvalidHandleOrMissingTreeWritesNothing) {
  const auto file = dir / "never.txt";
  zemWrite(zemGetRoot(handle), file.string().c_str());
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  zemAppend(nullptr, file.string().c_str());
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(reports.take(), Texts(2, "Invalid zemHandle (CzemData)"));

  zem_test::TreelessDocument loaded;
  zemWrite(zem_test::asHandle(&loaded), file.string().c_str());
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
