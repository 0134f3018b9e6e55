// The result-folder settings travel in the document's first SYSTEM section.
#include <gtest/gtest.h>

#include "api_test_support.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"

using zem_test::Reports;
using zem_test::Texts;

namespace {

zem::CzemNode* asNode(void* p) { return static_cast<zem::CzemNode*>(static_cast<zem::CzemBase*>(p)); }

// The value text of a keyword's only parameter ("-" when it has another count).
std::string settingText(void* section, const char* name) {
  void* keyword = zemKeywordByNameNum(section, name, 1);
  if (zemGetNoParams(keyword) != 1) return "-";
  return std::string(static_cast<zem::CzemParam*>(asNode(zemParamByNum(keyword, 1)))->valueText().view());
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class WriteSettings : public testing::Test {
 protected:
  void SetUp() override {
    handle = zemCreate();
    root = static_cast<zem::CzemTargetList*>(asNode(zemGetRoot(handle)));
    file = zem_test::scratchDir() / "settings.txt";
  }
  void TearDown() override { zemClose(&handle); }
  void set(const char* resultRoot, int useCustom, const char* custom) {
    root->setResultRoot(resultRoot);
    root->setUseCustom(useCustom);
    root->setCustomFolder(custom);
  }
  std::string write() {
    zemWrite(handle, file.string().c_str());
    return zem_test::readFile(file);
  }

  Reports reports;
  void* handle = nullptr;
  zem::CzemTargetList* root = nullptr;
  std::filesystem::path file;
};

TEST_F(WriteSettings, OneSectionIsAddedLastAndReusedByLaterWrites) {
  zemAddTarget(handle, "A");
  zemEndSection(handle);
  set("/results", 1, "/custom");
  write();
  ASSERT_EQ(zemGetNoTargets(handle), 2);
  void* system = zemTargetByNum(handle, 2);
  EXPECT_STREQ(zemGetName(system), "SYSTEM");
  EXPECT_EQ(zemGetNoKeywords(system), 3);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(system, 1)), "ResultRootFolder");
  EXPECT_STREQ(zemGetName(zemKeywordByNum(system, 2)), "UseCustomResultFolder");
  EXPECT_STREQ(zemGetName(zemKeywordByNum(system, 3)), "CustomResultFolder");
  EXPECT_EQ(settingText(system, "ResultRootFolder"), "/results");
  EXPECT_EQ(zemGetBool(zemParamByNum(zemKeywordByNum(system, 2), 1)), 1);
  EXPECT_EQ(settingText(system, "CustomResultFolder"), "/custom");

  set("/elsewhere", 0, "");
  const std::string text = write();
  EXPECT_EQ(zemGetNoTargets(handle), 2);
  EXPECT_EQ(occurrences(text, "[SYSTEM]"), 1u);
  EXPECT_EQ(settingText(system, "ResultRootFolder"), "/elsewhere");
  EXPECT_EQ(zemGetBool(zemParamByNum(zemKeywordByNum(system, 2), 1)), 0);
  // An empty folder setting leaves its line as it stands; the flag says it is unused.
  EXPECT_EQ(settingText(system, "CustomResultFolder"), "/custom");
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(WriteSettings, FirstExistingSectionIsUpdatedAndKeepsItsOtherKeywords) {
  zemAddTarget(handle, "System");
  zemAddKeyword(handle, "Other");
  zemAddInt(handle, 1);
  zemAddKeyword(handle, "usecustomresultfolder");
  zemAddString(handle, "x");
  zemAddString(handle, "y");
  zemEndSection(handle);
  zemAddTarget(handle, "SYSTEM");
  zemAddKeyword(handle, "ResultRootFolder");
  zemAddString(handle, "untouched");
  zemEndSection(handle);
  set("/results", 1, "/custom");
  write();

  ASSERT_EQ(zemGetNoTargets(handle), 2);
  void* first = zemTargetByNum(handle, 1);
  ASSERT_EQ(zemGetNoKeywords(first), 4);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(first, 1)), "Other");
  EXPECT_EQ(zemGetInt(zemParamByNum(zemKeywordByNum(first, 1), 1)), 1);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(first, 2)), "usecustomresultfolder");
  // Only the first value changes kind; the rest of the line stays.
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(first, 2)), 2);
  EXPECT_EQ(zemIsBool(zemParamByNum(zemKeywordByNum(first, 2), 1)), 1);
  EXPECT_STREQ(zemGetString(zemParamByNum(zemKeywordByNum(first, 2), 2)), "y");
  EXPECT_EQ(settingText(first, "ResultRootFolder"), "/results");
  EXPECT_EQ(settingText(first, "CustomResultFolder"), "/custom");
  EXPECT_EQ(settingText(zemTargetByNum(handle, 2), "ResultRootFolder"), "untouched");
}

TEST_F(WriteSettings, WithoutSettingsASystemSectionIsWrittenAsItStands) {
  zemAddTarget(handle, "SYSTEM");
  zemAddKeyword(handle, "ResultRootFolder");
  zemAddFilename(handle, "/old");
  void* held = zemParamByNum(zemKeywordByNum(zemTargetByNum(handle, 1), 1), 1);
  zemAddKeyword(handle, "UseCustomResultFolder");
  zemAddBool(handle, 1);
  zemEndSection(handle);
  write();
  void* system = zemTargetByNum(handle, 1);
  EXPECT_EQ(zemGetNoKeywords(system), 2);
  EXPECT_EQ(zemParamByNum(zemKeywordByNum(system, 1), 1), held);
  EXPECT_STREQ(zemGetFilenameString(held), "/old");
  EXPECT_EQ(zemGetBool(zemParamByNum(zemKeywordByNum(system, 2), 1)), 1);
  EXPECT_EQ(zemKeywordByNameNum(system, "CustomResultFolder", 1), nullptr);
}

TEST_F(WriteSettings, ValuesOfTheRightKindAreUpdatedInPlace) {
  zemAddTarget(handle, "SYSTEM");
  zemAddKeyword(handle, "ResultRootFolder");
  zemAddFilename(handle, "/old");
  zemAddKeyword(handle, "UseCustomResultFolder");
  zemAddBool(handle, 0);
  zemEndSection(handle);
  void* system = zemTargetByNum(handle, 1);
  void* folder = zemParamByNum(zemKeywordByNum(system, 1), 1);
  void* flag = zemParamByNum(zemKeywordByNum(system, 2), 1);
  set("/new", 1, "/custom");
  write();
  EXPECT_EQ(zemParamByNum(zemKeywordByNum(system, 1), 1), folder);
  EXPECT_STREQ(zemGetFilenameString(folder), "/new");
  EXPECT_EQ(zemParamByNum(zemKeywordByNum(system, 2), 1), flag);
  EXPECT_EQ(zemGetBool(flag), 1);
}

TEST_F(WriteSettings, WritingLeavesAnOpenBuiltSectionOpen) {
  zemAddTarget(handle, "A");
  zemAddKeyword(handle, "k");
  set("/results", 0, "");
  write();
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "");
  EXPECT_EQ(zemAddIntS(handle, 1), 0);
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(zemTargetByNum(handle, 1), 1)), 1);
  EXPECT_EQ(zemAddSectionS(handle, "Sub"), 0);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemGetNoTargets(handle), 2);
  EXPECT_STREQ(zemGetName(zemTargetByNum(handle, 2)), "SYSTEM");
  EXPECT_EQ(zemGetNoSections(zemTargetByNum(handle, 1)), 1);
}

TEST_F(WriteSettings, ReplacedValuesUnderTheCursorAreForgotten) {
  zemAddTarget(handle, "SYSTEM");
  zemAddKeyword(handle, "ResultRootFolder");
  zemAddString(handle, "/old");
  set("/results", 0, "");
  write();
  void* keyword = zemKeywordByNum(zemTargetByNum(handle, 1), 1);
  EXPECT_EQ(settingText(zemTargetByNum(handle, 1), "ResultRootFolder"), "/results");
  // The builder still adds to its keyword, after the new value.
  EXPECT_EQ(zemAddIntS(handle, 2), 0);
  EXPECT_EQ(zemGetNoParams(keyword), 2);
  EXPECT_EQ(zemGetInstanceNo(zemParamByNum(keyword, 2)), 2);
}

}  // namespace
