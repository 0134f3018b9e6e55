// The insertion cursor of the building calls, the builder status and the
// silent flag of the quiet variants.
#include <string>

#include "test_support.hpp"

class BuildCursor : public testing::Test {
 protected:
  void TearDown() override { zemClose(&handle); }
  void* target(unsigned n) { return zemTargetByNum(handle, n); }

  Reports reports;
  void* handle = zemCreate();
};

TEST_F(BuildCursor, KeywordsSectionsAndValuesNeedTheirPlaceOpen) {
  zemAddKeyword(handle, "k");
  zemAddSection(handle, "S");
  zemEndSection(handle);
  reports.expect(0, Texts(3, "Missing current section"));
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current section");
  EXPECT_EQ(zemGetNoNodes(zemGetRoot(handle)), 0);
  zemAddInt(handle, 1);
  zemAddTarget(handle, "A");
  zemAddDouble(handle, 1.0);
  zemAddKeyword(handle, "k");
  zemAddSection(handle, "S");
  zemAddString(handle, "x");
  zemEndSection(handle);
  zemAddBool(handle, 1);
  reports.expect(0, Texts(4, "Missing current keyword"));
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current keyword");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(target(1), 1)), 0);
  EXPECT_EQ(zemGetNoNodes(zemSectionByNum(target(1), 1)), 0);
}

TEST_F(BuildCursor, EndSectionReturnsToTheEnclosingSectionAndASecondTargetWaitsForIt) {
  zemAddTarget(handle, "A");
  zemAddTarget(handle, "B");
  reports.expect(0, {"Previous section was not completed"});
  zemAddSection(handle, "S");
  zemAddSection(handle, "T");
  zemEndSection(handle);
  zemAddKeyword(handle, "inS");
  zemEndSection(handle);
  zemAddKeyword(handle, "inA");
  zemEndSection(handle);
  zemAddKeyword(handle, "nowhere");
  zemEndSection(handle);
  reports.expect(0, Texts(2, "Missing current section"));
  zemAddTarget(handle, "B");
  reports.expect(0, {});
  void* s = zemSectionByNum(target(1), 1);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(s, 1)), "inS");
  EXPECT_STREQ(zemGetName(zemKeywordByNum(target(1), 1)), "inA");
  EXPECT_STREQ(zemGetName(zemSectionByNum(s, 1)), "T");
  EXPECT_EQ(zemGetNoTargets(handle), 2);
}

TEST_F(BuildCursor, ValuesGoToTheLastKeywordInOrder) {
  zemAddTarget(handle, "A");
  zemAddKeyword(handle, "k");
  zemAddKeyword(handle, "K");
  zemAddInt(handle, 1);
  zemAddUndefinedPar(handle);
  zemAddBool(handle, 7);
  std::string text = "copied";
  zemAddString(handle, text.c_str());
  text = "changed";
  zemAddString(handle, nullptr);
  void* second = zemKeywordByNameNum(target(1), "k", 2);
  EXPECT_STREQ(zemGetName(second), "K");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(target(1), 1)), 0);
  EXPECT_EQ(zemGetNoParams(second), 5);
  EXPECT_EQ(zemIsUndefinedPar(zemParamByNum(second, 2)), 1);
  EXPECT_EQ(zemGetBool(zemParamByNum(second, 3)), 7);
  EXPECT_STREQ(zemGetString(zemParamByNum(second, 4)), "copied");
  EXPECT_EQ(zemGetInstanceNo(zemParamByNum(second, 4)), 4);
  EXPECT_STREQ(zemGetString(zemParamByNum(second, 5)), "");
  zemEndSection(handle);
  zemAddTarget(handle, nullptr);  // null names and texts build empty ones
  zemAddKeyword(handle, nullptr);
  zemAddFilename(handle, nullptr);
  EXPECT_STREQ(zemGetName(target(2)), "");
  EXPECT_STREQ(zemGetName(zemKeywordByNum(target(2), 1)), "");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(target(2), 1)), 1);
  reports.expect(0, {});
}

TEST_F(BuildCursor, QuietVariantReturnsAndClearsThePendingStatusAndSilencesTheHandle) {
  zemAddTarget(handle, "A");
  zemAddKeyword(handle, "k");
  zemAddTarget(handle, "B");  // plain: reported, status kept
  reports.expect(0, {"Previous section was not completed"});
  EXPECT_EQ(zemAddIntS(handle, 1), 2000);
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(target(1), 1)), 1);
  EXPECT_EQ(zemAddIntS(handle, 2), 0);
  zemAddSection(handle, "S");
  zemEndSection(handle);
  zemEndSection(handle);
  zemAddKeyword(handle, "lost");
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current section");
  EXPECT_EQ(zemAddTargetS(handle, "B"), 2000);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemEndSectionS(handle), 2000);
  EXPECT_EQ(zemAddKeywordS(handle, "k"), 2000);
  reports.expect(0, {});
}

TEST_F(BuildCursor, InvalidHandleIsCode1005ReportedOnlyByPlainVariants) {
  void* node = zemGetRoot(handle);
  int variable = 0;
  for (void* invalid : {static_cast<void*>(nullptr), node}) {
    EXPECT_EQ(zemAddTargetS(invalid, "A"), 1005);
    EXPECT_EQ(zemEndSectionS(invalid), 1005);
    EXPECT_EQ(zemAddDoubleS(invalid, 1), 1005);
    EXPECT_EQ(zemAddIntRefS(invalid, &variable), 1005);
    reports.expect(1005, {});
  }
  zemAddTarget(node, "A");
  zemAddKeyword(nullptr, "k");
  zemAddString(node, "s");
  zemAddBoolRef(nullptr, &variable);
  reports.expect(1005, Texts(4, "Invalid zemHandle (CzemData)"));
  EXPECT_EQ(zemGetNoNodes(node), 0);
  TreelessDocument loaded;  // a document handle without tree has no list to add to
  zemAddTarget(asVoid(&loaded), "A");
  reports.expect(0, {"Missing list"});
  EXPECT_EQ(zemAddKeywordS(asVoid(&loaded), "k"), 2000);
  EXPECT_STREQ(zemGetErrorFromZemData(asVoid(&loaded)), "Missing current section");
}
