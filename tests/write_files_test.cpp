// Where the writer's text goes: replacing, appending, and files it cannot write.
#include "test_support.hpp"

using zem_test::bodyOf;
using zem_test::readFile;
using zem_test::Reports;
using zem_test::Texts;

namespace {

class WriteFiles : public testing::Test {
 protected:
  void SetUp() override {
    zemAddTarget(handle, "A");
    zemAddKeyword(handle, "k");
    zemAddInt(handle, 1);
    zemEndSection(handle);
  }
  void TearDown() override { zemClose(&handle); }
  const char* anchor() { return zemGetAnchorFilename(zemGetRoot(handle)); }

  Reports reports;
  void* handle = zemCreate();
  std::filesystem::path dir = zem_test::scratchDir();
};

TEST_F(WriteFiles, WriteReplacesAndAppendAddsAFullDocument) {
  const auto file = dir / "doc.txt";
  zem_test::writeFile(file, "old content\r\n");
  zemWrite(handle, file.string().c_str());
  const std::string once = readFile(file);
  EXPECT_EQ(once.find("old content"), std::string::npos);
  EXPECT_EQ(bodyOf(once), "[A]\r\n   k = 1\r\nEndSect  // A\r\n\r\n");

  zemAppend(handle, file.string().c_str());
  const std::string twice = readFile(file);
  ASSERT_EQ(twice.substr(0, once.size()), once);
  EXPECT_EQ(twice.substr(once.size(), 16), "// Created     :");
  EXPECT_EQ(bodyOf(twice.substr(once.size())), bodyOf(once));

  const auto fresh = dir / "appended.txt";
  zemAppend(handle, fresh.string().c_str());
  EXPECT_EQ(readFile(fresh).substr(0, 16), "// Created     :");
  EXPECT_EQ(bodyOf(readFile(fresh)), bodyOf(once));
  EXPECT_EQ(anchor(), fresh.string());
  reports.expect(0, {});
}

TEST_F(WriteFiles, FileThatCannotBeWrittenIsReportedAndChangesNothing) {
  zemSetAnchorFilename(zemGetRoot(handle), "/before.txt");
  const auto file = dir / "missing" / "doc.txt";
  zemWrite(handle, file.string().c_str());
  reports.expect(1001, {"Open error: " + file.string()});
  EXPECT_FALSE(std::filesystem::exists(file));
  zemAppend(handle, "");
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  zemWrite(handle, nullptr);
  EXPECT_EQ(reports.take(), (Texts{"Open error: ", "Open error: "}));
  if (std::filesystem::exists("/dev/full")) {  // opens, but refuses the text
    zemWrite(handle, "/dev/full");
    EXPECT_EQ(zemGetErrorGlb(), 1001);
    zemAppend(handle, "/dev/full");
    EXPECT_EQ(reports.take(), Texts(2, "Open error: /dev/full"));
  }
  EXPECT_STREQ(anchor(), "/before.txt");
}

TEST_F(WriteFiles, InvalidHandleOrMissingTreeWritesNothing) {
  const auto file = dir / "never.txt";
  zemWrite(zemGetRoot(handle), file.string().c_str());
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  zemAppend(nullptr, file.string().c_str());
  reports.expect(1005, Texts(2, "Invalid zemHandle (CzemData)"));
  zem_test::TreelessDocument loaded;
  zemWrite(zem_test::asVoid(&loaded), file.string().c_str());
  reports.expect(1006, {"Invalid zemNode"});
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
