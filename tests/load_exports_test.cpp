#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "load_support.hpp"
#include "model/named_nodes.hpp"
#include "text/load_handle.hpp"

using namespace zem;
using zem_test::loadText;
using zem_test::ReportCapture;
using zem_test::writeTempFile;

namespace {

CzemTargetList* rootOf(void* handle) {
  auto* load = dynamic_cast<CzemLoad*>(static_cast<CzemBase*>(handle));
  return load != nullptr ? load->root() : nullptr;
}

int openDescriptorsOn(const std::string& path) {
  int count = 0;
  const auto target = std::filesystem::canonical(path);
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    const auto link = std::filesystem::read_symlink(entry.path(), ec);
    if (!ec && link == target) ++count;
  }
  return count;
}

}  // namespace

TEST(LoadExports, UnopenableFilesFailWithOpenError) {
  ReportCapture capture;
  const std::string missing = testing::TempDir() + "zem_load_no_such_file.txt";
  EXPECT_EQ(zemLoadFile(missing.c_str(), 0), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  ASSERT_EQ(capture.reports().size(), 1u);
  EXPECT_EQ(capture.reports()[0].text, "Open error: " + missing);
  EXPECT_EQ(capture.reports()[0].kind, 1);

  capture.clear();
  EXPECT_EQ(zemLoadFile(missing.c_str(), 1), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  EXPECT_TRUE(capture.reports().empty());

  // A folder is not a readable file; a null name opens nothing.
  EXPECT_EQ(zemLoadFile(testing::TempDir().c_str(), 1), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  EXPECT_EQ(zemLoadFile(nullptr, 0), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  EXPECT_EQ(capture.texts().back(), "Open error: ");
}

TEST(LoadExports, LoadClearsAnEarlierErrorCode) {
  {
    ReportCapture capture;
    zemClose(nullptr);  // leaves 1005 pending
  }
  void* handle = loadText("clean.txt", "[A] EndSect");
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  zemClose(&handle);
}

TEST(LoadExports, BinaryInputNeverCrashes) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919 + 13) % 256));
  void* handle = loadText("binary.bin", bytes);
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(rootOf(handle), nullptr);
  zemClose(&handle);
}

TEST(LoadExports, FileIsClosedWhenTheLoadReturns) {
  const std::string path = writeTempFile("closed.txt", "[A] k = 1 EndSect");
  void* handle = zemLoadFile(path.c_str(), 1);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(openDescriptorsOn(path), 0);
  EXPECT_EQ(zemNoChars(handle), 17);  // the counters outlive the file
  zemClose(&handle);
}

TEST(LoadExports, SyntaxErrorRecordOfAGoodLoadIsEmpty) {
  void* handle = loadText("good.txt", "[A] k = 1 EndSect");
  int line = -1, position = -1;
  const char* message = nullptr;
  EXPECT_STREQ(zemGetSyntaxErr(handle, &line, &position, &message), "");
  EXPECT_STREQ(message, "");
  EXPECT_EQ(line, 0);
  EXPECT_EQ(position, 0);
  // Null out-pointers are skipped.
  EXPECT_STREQ(zemGetSyntaxErr(handle, nullptr, nullptr, nullptr), "");
  zemClose(&handle);
}

TEST(LoadExports, StatisticsNeedALoadHandle) {
  ReportCapture capture;
  void* created = zemCreate();
  for (void* bad : {static_cast<void*>(nullptr), created}) {
    EXPECT_EQ(zemNoChars(bad), 0);
    EXPECT_EQ(zemNoLines(bad), 0);
    EXPECT_EQ(zemNoComments(bad), 0);
    EXPECT_EQ(zemNoTokens(bad), 0);
    int line = 5, position = 5;
    const char* message = nullptr;
    EXPECT_STREQ(zemGetSyntaxErr(bad, &line, &position, &message), "");
    EXPECT_STREQ(message, "");
    EXPECT_EQ(line, 0);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(zemGetErrorGlb(), 1005);
  }
  EXPECT_EQ(capture.reports().size(), 10u);
  for (const auto& text : capture.texts()) EXPECT_EQ(text, "Invalid zemHandle (CzemLoad)");
  zemClose(&created);
}

TEST(LoadExports, NodesKnowTheFileNameAsLoaded) {
  const std::string path = writeTempFile("named.txt", "[A] k = 1, 2 EndSect");
  // An unusual spelling shows that the name is kept unchanged.
  const std::string spelled = testing::TempDir() + "./zem_load_named.txt";
  void* handle = zemLoadFile(spelled.c_str(), 1);
  ASSERT_NE(handle, nullptr);
  CzemTargetList* root = rootOf(handle);
  CzemNode* param = root->SectionByNameNum("A", 1)->KeywordByNameNum("k", 1)->ParamByNum(2);
  EXPECT_EQ(zemGetZemFileName(param), spelled);
  EXPECT_EQ(zemGetZemFileName(static_cast<CzemBase*>(root)), spelled);

  ReportCapture capture;
  EXPECT_STREQ(zemGetZemFileName(nullptr), "");
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"Invalid zemNode"});
  zemClose(&handle);
}

TEST(LoadExports, SystemKeywordsOfTheWrongKindReportEvenWhenQuiet) {
  ReportCapture capture;
  void* handle = loadText("system_bad.txt",
                          "[System] ResultRootFolder = 5 UseCustomResultFolder = 'yes' CustomResultFolder = 1.5 "
                          "EndSect",
                          1);
  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_EQ(capture.texts(), std::vector<std::string>(3, "Function invalid in this context"));
  CzemTargetList* root = rootOf(handle);
  EXPECT_TRUE(root->resultRoot().empty());
  EXPECT_TRUE(root->customFolder().empty());
  EXPECT_EQ(root->useCustom(), 0);
  zemClose(&handle);
}

TEST(LoadExports, SystemSectionSetsTheResultFolders) {
  ReportCapture capture;
  void* handle =
      loadText("system.txt",
               "[SYSTEM]\n ResultRootFolder = |/res/root|\n UseCustomResultFolder = true\n"
               " CustomResultFolder = |/res/custom|\nEndSect\n[SYSTEM] UseCustomResultFolder = false EndSect");
  CzemTargetList* root = rootOf(handle);
  ASSERT_NE(root, nullptr);
  EXPECT_FALSE(root->resultRoot().empty());
  EXPECT_FALSE(root->customFolder().empty());
  EXPECT_EQ(root->useCustom(), 1);
  zemClose(&handle);

  // Without the flag the folder is kept with use-custom 0; without the folder nothing changes.
  handle = loadText("system_noflag.txt", "[SYSTEM] CustomResultFolder = |/res/custom| EndSect");
  EXPECT_FALSE(rootOf(handle)->customFolder().empty());
  EXPECT_EQ(rootOf(handle)->useCustom(), 0);
  zemClose(&handle);
  handle = loadText("system_nofolder.txt", "[SYSTEM] UseCustomResultFolder = true EndSect");
  EXPECT_EQ(rootOf(handle)->useCustom(), 0);
  zemClose(&handle);
}

TEST(LoadExports, TwoThreadsLoadDifferentFilesAtOnce) {
  auto makeText = [](int sections, const char* key) {
    std::string text;
    for (int i = 0; i < sections; ++i)
      text += "[S" + std::to_string(i) + "]\n  " + key + " = " + std::to_string(i) +
              ", 'v', 1.5\n  [In] x = -1 EndSect\nEndSect\n";
    return text;
  };
  const std::string first = writeTempFile("thread1.txt", makeText(3000, "alpha"));
  const std::string second = writeTempFile("thread2.txt", makeText(2000, "beta"));
  auto worker = [](std::string path, int sections, const char* key, int* good) {
    for (int round = 0; round < 5; ++round) {
      void* handle = zemLoadFile(path.c_str(), 1);
      CzemTargetList* root = rootOf(handle);
      bool ok = root != nullptr && root->GetNoSections() == sections;
      for (int i = 0; ok && i < sections; i += 97) {
        CzemNode* k = root->SectionByNum(static_cast<unsigned>(i + 1))->KeywordByNameNum(key, 1);
        ok = k != nullptr && k->GetNoParams() == 3 && k->ParamByNum(1)->GetInt() == i;
      }
      if (ok) ++*good;
      if (handle != nullptr) zemClose(&handle);
    }
  };
  int good1 = 0, good2 = 0;
  std::thread t1(worker, first, 3000, "alpha", &good1);
  std::thread t2(worker, second, 2000, "beta", &good2);
  t1.join();
  t2.join();
  EXPECT_EQ(good1, 5);
  EXPECT_EQ(good2, 5);
}
