// The result-folder settings travel in the document's first SYSTEM section.
#include "test_support.hpp"

class WriteSettings : public testing::Test {
 protected:
  void TearDown() override { zemClose(&handle); }
  std::string write(const char* resultRoot = nullptr, int useCustom = 0, const char* custom = "") {
    if (resultRoot != nullptr) {
      auto* root = static_cast<zem::CzemTargetList*>(asNode(zemGetRoot(handle)));
      root->setResultRoot(resultRoot);
      root->setUseCustom(useCustom);
      root->setCustomFolder(custom);
    }
    zemWrite(handle, file.string().c_str());
    return readFile(file);
  }
  // The value of a keyword's first parameter, as text.
  static std::string setting(void* section, const char* name) {
    void* value = zemParamByNum(zemKeywordByNameNum(section, name, 1), 1);
    return std::string(static_cast<zem::CzemParam*>(asNode(value))->valueText().view());
  }
  static int flag(void* section) { return zemGetBool(zemParamByNum(zemKeywordByNum(section, 2), 1)); }

  Reports reports;
  void* handle = zemCreate();
  std::filesystem::path file = scratchDir() / "settings.txt";
};

TEST_F(WriteSettings, OneSectionIsAddedLastAndReusedByLaterWrites) {
  zemAddTarget(handle, "A");
  zemEndSection(handle);
  write("/results", 1, "/custom");
  ASSERT_EQ(zemGetNoTargets(handle), 2);
  void* system = zemTargetByNum(handle, 2);
  EXPECT_STREQ(zemGetName(system), "SYSTEM");
  ASSERT_EQ(zemGetNoKeywords(system), 3);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(system, 1)), "ResultRootFolder");
  EXPECT_STREQ(zemGetName(zemKeywordByNum(system, 2)), "UseCustomResultFolder");
  EXPECT_STREQ(zemGetName(zemKeywordByNum(system, 3)), "CustomResultFolder");
  EXPECT_EQ(setting(system, "ResultRootFolder"), "/results");
  EXPECT_EQ(flag(system), 1);
  EXPECT_EQ(setting(system, "CustomResultFolder"), "/custom");

  const std::string text = write("/elsewhere", 0, "");
  EXPECT_EQ(zemGetNoTargets(handle), 2);
  EXPECT_EQ(text.find("[SYSTEM]"), text.rfind("[SYSTEM]"));
  EXPECT_EQ(setting(system, "ResultRootFolder"), "/elsewhere");
  EXPECT_EQ(flag(system), 0);
  EXPECT_EQ(setting(system, "CustomResultFolder"), "/custom");  // an empty folder leaves its line as it stands
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
  write("/results", 1, "/custom");
  ASSERT_EQ(zemGetNoTargets(handle), 2);
  void* first = zemTargetByNum(handle, 1);
  ASSERT_EQ(zemGetNoKeywords(first), 4);
  EXPECT_EQ(zemGetInt(zemParamByNum(zemKeywordByNum(first, 1), 1)), 1);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(first, 2)), "usecustomresultfolder");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(first, 2)), 2);  // only the first value changes kind
  EXPECT_EQ(flag(first), 1);
  EXPECT_STREQ(zemGetString(zemParamByNum(zemKeywordByNum(first, 2), 2)), "y");
  EXPECT_EQ(setting(first, "ResultRootFolder"), "/results");
  EXPECT_EQ(setting(first, "CustomResultFolder"), "/custom");
  EXPECT_EQ(setting(zemTargetByNum(handle, 2), "ResultRootFolder"), "untouched");
}

TEST_F(WriteSettings, ValuesOfTheRightKindAreUpdatedInPlaceAndLeftAloneWithoutSettings) {
  zemAddTarget(handle, "SYSTEM");
  zemAddKeyword(handle, "ResultRootFolder");
  zemAddFilename(handle, "/old");
  zemAddKeyword(handle, "UseCustomResultFolder");
  zemAddBool(handle, 0);
  zemEndSection(handle);
  void* system = zemTargetByNum(handle, 1);
  void* folder = zemParamByNum(zemKeywordByNum(system, 1), 1);
  void* useCustom = zemParamByNum(zemKeywordByNum(system, 2), 1);
  write();
  EXPECT_EQ(zemGetNoKeywords(system), 2);
  EXPECT_STREQ(zemGetFilenameString(folder), "/old");
  write("/new", 1, "/custom");
  EXPECT_EQ(zemParamByNum(zemKeywordByNum(system, 1), 1), folder);
  EXPECT_STREQ(zemGetFilenameString(folder), "/new");
  EXPECT_EQ(zemParamByNum(zemKeywordByNum(system, 2), 1), useCustom);
  EXPECT_EQ(zemGetBool(useCustom), 1);
}

TEST_F(WriteSettings, BuildingGoesOnAfterAWriteWhereItStood) {
  zemAddTarget(handle, "A");
  zemAddKeyword(handle, "k");
  write("/results");
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "");
  EXPECT_EQ(zemAddIntS(handle, 1), 0);
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(zemTargetByNum(handle, 1), 1)), 1);
  EXPECT_EQ(zemAddSectionS(handle, "Sub"), 0);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemGetNoSections(zemTargetByNum(handle, 1)), 1);
  EXPECT_STREQ(zemGetName(zemTargetByNum(handle, 2)), "SYSTEM");
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(WriteSettings, ReplacedValuesUnderTheCursorAreForgotten) {
  zemAddTarget(handle, "SYSTEM");
  zemAddKeyword(handle, "ResultRootFolder");
  zemAddString(handle, "/old");
  write("/results");
  void* keyword = zemKeywordByNum(zemTargetByNum(handle, 1), 1);
  EXPECT_EQ(setting(zemTargetByNum(handle, 1), "ResultRootFolder"), "/results");
  EXPECT_EQ(zemAddIntS(handle, 2), 0);  // the builder still adds to its keyword, after the new value
  EXPECT_EQ(zemGetNoParams(keyword), 2);
  EXPECT_EQ(zemGetInstanceNo(zemParamByNum(keyword, 2)), 2);
}
