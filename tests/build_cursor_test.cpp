// The insertion cursor of the building calls, the builder status and the
// silent flag of the quiet variants.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "api_test_support.hpp"

using zem_test::Reports;
using zem_test::Texts;

namespace {

class Building : public testing::Test {
 protected:
  void SetUp() override { handle = zemCreate(); }
  void TearDown() override { zemClose(&handle); }
  void* target(unsigned n) { return zemTargetByNum(handle, n); }

  Reports reports;
  void* handle = nullptr;
};

TEST(BuildingStart, CreateClearsAPendingError) {
  Reports reports;
  zemGetNoNodes(nullptr);
  void* handle = zemCreate();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  EXPECT_EQ(zemGetNoTargets(handle), 0);
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "");
  zemClose(&handle);
}

TEST_F(Building, KeywordOrSubsectionWithoutOpenSectionIsRefused) {
  zemAddKeyword(handle, "k");
  zemAddSection(handle, "S");
  zemEndSection(handle);
  EXPECT_EQ(reports.take(), Texts(3, "Missing current section"));
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current section");
  EXPECT_EQ(zemGetNoNodes(zemGetRoot(handle)), 0);
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST_F(Building, ValueNeedsACurrentKeyword) {
  zemAddInt(handle, 1);
  zemAddTarget(handle, "A");
  zemAddDouble(handle, 1.0);
  zemAddKeyword(handle, "k");
  zemAddSection(handle, "S");
  zemAddString(handle, "x");
  zemEndSection(handle);
  zemAddBool(handle, 1);
  EXPECT_EQ(reports.take(), Texts(4, "Missing current keyword"));
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current keyword");
  void* a = target(1);
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(a, 1)), 0);
  EXPECT_EQ(zemGetNoNodes(zemSectionByNum(a, 1)), 0);
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST_F(Building, SecondTargetBeforeEndSectionIsRefusedAndTheFirstStaysOpen) {
  zemAddTarget(handle, "A");
  zemAddTarget(handle, "B");
  EXPECT_EQ(reports.take(), Texts{"Previous section was not completed"});
  zemAddKeyword(handle, "k");
  EXPECT_EQ(zemGetNoTargets(handle), 1);
  EXPECT_EQ(zemGetNoKeywords(target(1)), 1);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(Building, EndSectionReturnsToTheEnclosingSection) {
  zemAddTarget(handle, "A");
  zemAddSection(handle, "S");
  zemAddSection(handle, "T");
  zemEndSection(handle);
  zemAddKeyword(handle, "inS");
  zemEndSection(handle);
  zemAddKeyword(handle, "inA");
  zemEndSection(handle);
  zemAddKeyword(handle, "nowhere");
  EXPECT_EQ(reports.take(), Texts{"Missing current section"});
  zemEndSection(handle);
  EXPECT_EQ(reports.take(), Texts{"Missing current section"});
  zemAddTarget(handle, "B");
  EXPECT_EQ(reports.take(), Texts{});

  void* a = target(1);
  void* s = zemSectionByNum(a, 1);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(s, 1)), "inS");
  EXPECT_STREQ(zemGetName(zemKeywordByNum(a, 1)), "inA");
  EXPECT_STREQ(zemGetName(zemSectionByNum(s, 1)), "T");
  EXPECT_EQ(zemGetNoTargets(handle), 2);
}

TEST_F(Building, ValuesGoToTheLastKeywordInOrder) {
  zemAddTarget(handle, "A");
  zemAddKeyword(handle, "k");
  zemAddKeyword(handle, "K");
  zemAddInt(handle, 1);
  zemAddUndefinedPar(handle);
  zemAddBool(handle, 7);
  std::string text = "copied";
  zemAddString(handle, text.c_str());
  text = "changed";
  void* first = zemKeywordByNameNum(target(1), "k", 1);
  void* second = zemKeywordByNameNum(target(1), "k", 2);
  EXPECT_STREQ(zemGetName(second), "K");
  EXPECT_EQ(zemGetInstanceNo(second), 2);
  EXPECT_EQ(zemGetNoParams(first), 0);
  EXPECT_EQ(zemGetNoParams(second), 4);
  EXPECT_EQ(zemIsUndefinedPar(zemParamByNum(second, 2)), 1);
  EXPECT_EQ(zemGetBool(zemParamByNum(second, 3)), 7);
  EXPECT_STREQ(zemGetString(zemParamByNum(second, 4)), "copied");
  EXPECT_EQ(zemGetInstanceNo(zemParamByNum(second, 4)), 4);
}

TEST_F(Building, NullNamesAndTextsBuildEmptyOnes) {
  zemAddTarget(handle, nullptr);
  zemAddKeyword(handle, nullptr);
  zemAddString(handle, nullptr);
  zemAddFilename(handle, nullptr);
  void* keyword = zemKeywordByNum(target(1), 1);
  EXPECT_STREQ(zemGetName(target(1)), "");
  EXPECT_STREQ(zemGetName(keyword), "");
  EXPECT_STREQ(zemGetString(zemParamByNum(keyword, 1)), "");
  EXPECT_EQ(zemGetNoParams(keyword), 2);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(Building, QuietVariantReturnsAndClearsThePendingStatus) {
  zemAddTarget(handle, "A");
  zemAddKeyword(handle, "k");
  zemAddTarget(handle, "B");  // plain: reported, status kept
  EXPECT_EQ(reports.take(), Texts{"Previous section was not completed"});
  EXPECT_EQ(zemAddIntS(handle, 1), 2000);
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(target(1), 1)), 1);
  EXPECT_EQ(zemAddIntS(handle, 2), 0);

  // The handle is silent from now on, also for plain calls.
  zemAddSection(handle, "S");
  zemEndSection(handle);
  zemEndSection(handle);
  zemAddKeyword(handle, "lost");
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current section");
  EXPECT_EQ(zemAddTargetS(handle, "B"), 2000);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemEndSectionS(handle), 2000);
  EXPECT_EQ(zemAddKeywordS(handle, "k"), 2000);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST_F(Building, EveryQuietVariantSucceedsOnAValidCursor) {
  EXPECT_EQ(zemAddTargetS(handle, "A"), 0);
  EXPECT_EQ(zemAddSectionS(handle, "S"), 0);
  EXPECT_EQ(zemAddKeywordS(handle, "k"), 0);
  EXPECT_EQ(zemAddIntS(handle, 1), 0);
  EXPECT_EQ(zemAddFloatS(handle, 1.5f), 0);
  EXPECT_EQ(zemAddDoubleS(handle, 2.5), 0);
  EXPECT_EQ(zemAddBoolS(handle, 0), 0);
  EXPECT_EQ(zemAddStringS(handle, "s"), 0);
  EXPECT_EQ(zemAddFilenameS(handle, "f.txt"), 0);
  EXPECT_EQ(zemAddUndefinedParS(handle), 0);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemEndSectionS(handle), 0);
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(zemSectionByNum(target(1), 1), 1)), 7);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(Building, InvalidHandleIsCode1005ReportedOnlyByPlainVariants) {
  void* node = zemGetRoot(handle);
  const std::vector<std::function<int(void*)>> quiet = {
      [](void* h) { return zemAddTargetS(h, "A"); },
      [](void* h) { return zemAddSectionS(h, "A"); },
      [](void* h) { return zemEndSectionS(h); },
      [](void* h) { return zemAddKeywordS(h, "k"); },
      [](void* h) { return zemAddIntS(h, 1); },
      [](void* h) { return zemAddFloatS(h, 1); },
      [](void* h) { return zemAddDoubleS(h, 1); },
      [](void* h) { return zemAddBoolS(h, 1); },
      [](void* h) { return zemAddStringS(h, "s"); },
      [](void* h) { return zemAddFilenameS(h, "f"); },
      [](void* h) { return zemAddUndefinedParS(h); },
      [](void* h) {
        int v = 0;
        return zemAddIntRefS(h, &v);
      },
      [](void* h) {
        float v = 0;
        return zemAddFloatRefS(h, &v);
      },
      [](void* h) {
        double v = 0;
        return zemAddDoubleRefS(h, &v);
      },
      [](void* h) {
        int v = 0;
        return zemAddBoolRefS(h, &v);
      },
      [](void* h) { return zemAddStringRefS(h, nullptr); },
  };
  for (void* invalid : {static_cast<void*>(nullptr), node}) {
    for (std::size_t i = 0; i < quiet.size(); ++i) {
      EXPECT_EQ(quiet[i](invalid), 1005) << i;
      EXPECT_EQ(zemGetErrorGlb(), 1005) << i;
    }
  }
  EXPECT_EQ(reports.take(), Texts{});

  zemAddTarget(node, "A");
  zemAddSection(nullptr, "A");
  zemEndSection(node);
  zemAddKeyword(node, "k");
  zemAddInt(node, 1);
  zemAddFloat(node, 1);
  zemAddDouble(node, 1);
  zemAddBool(node, 1);
  zemAddString(node, "s");
  zemAddFilename(node, "f");
  zemAddUndefinedPar(node);
  int v = 0;
  zemAddIntRef(node, &v);
  zemAddBoolRef(nullptr, &v);
  EXPECT_EQ(reports.take(), Texts(13, "Invalid zemHandle (CzemData)"));
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(zemGetNoNodes(node), 0);
}

TEST(BuildingWithoutTree, TargetIsRefusedWithMissingList) {
  Reports reports;
  zem_test::TreelessDocument document;
  void* handle = zem_test::asHandle(&document);
  zemAddTarget(handle, "A");
  EXPECT_EQ(reports.take(), Texts{"Missing list"});
  EXPECT_EQ(zemAddKeywordS(handle, "k"), 2000);
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current section");
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

}  // namespace
