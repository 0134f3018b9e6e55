// Navigation, counts, names and the neutral results of invalid arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "api_test_support.hpp"

using zem_test::Reports;
using zem_test::Texts;

namespace {

// Model { Depth = 7, 2.5, 'text', true   [Sub] a = 1   [sub]   [SUB] [Deep]   depth = }   Other {}
class ReadTree : public testing::Test {
 protected:
  void SetUp() override {
    handle = zemCreate();
    zemAddTarget(handle, "Model");
    zemAddKeyword(handle, "Depth");
    zemAddInt(handle, 7);
    zemAddDouble(handle, 2.5);
    zemAddString(handle, "text");
    zemAddBool(handle, 1);
    zemAddSection(handle, "Sub");
    zemAddKeyword(handle, "a");
    zemAddInt(handle, 1);
    zemEndSection(handle);
    zemAddSection(handle, "sub");
    zemEndSection(handle);
    zemAddSection(handle, "SUB");
    zemAddSection(handle, "Deep");
    zemEndSection(handle);
    zemEndSection(handle);
    zemAddKeyword(handle, "depth");
    zemEndSection(handle);
    zemAddTarget(handle, "Other");
    zemEndSection(handle);
    root = zemGetRoot(handle);
    model = zemTargetByNameNum(handle, "Model", 1);
    depth = zemKeywordByNameNum(model, "Depth", 1);
    reports.take();
    zemGetErrorGlb();
  }
  void TearDown() override { zemClose(&handle); }

  Reports reports;
  void* handle = nullptr;
  void* root = nullptr;
  void* model = nullptr;
  void* depth = nullptr;
};

TEST_F(ReadTree, NavigatesByNumberAndByNameWithInstances) {
  EXPECT_EQ(zemGetNoTargets(handle), 2);
  EXPECT_EQ(zemTargetByNum(handle, 1), model);
  EXPECT_STREQ(zemGetName(zemTargetByNum(handle, 2)), "Other");
  EXPECT_EQ(zemTargetByNum(handle, 3), nullptr);
  EXPECT_EQ(zemTargetByNameNum(handle, "MODEL", 1), model);
  EXPECT_EQ(zemTargetByNameNum(handle, "Model", 2), nullptr);

  EXPECT_EQ(zemGetNoSections(model), 3);
  EXPECT_EQ(zemGetNoKeywords(model), 2);
  EXPECT_EQ(zemGetNoNodes(model), 5);
  void* third = zemSectionByNameNum(model, "sub", 3);
  EXPECT_STREQ(zemGetName(third), "SUB");
  EXPECT_EQ(zemSectionByNum(model, 3), third);
  EXPECT_EQ(zemGetInstanceNo(third), 3);
  EXPECT_EQ(zemGetNoInstances(third), 3);
  EXPECT_EQ(zemSectionByNameNum(model, "sub", 4), nullptr);

  void* second = zemKeywordByNameNum(model, "DEPTH", 2);
  EXPECT_STREQ(zemGetName(second), "depth");
  EXPECT_EQ(zemKeywordByNum(model, 2), second);
  EXPECT_EQ(zemGetNoInstances(second), 2);
  EXPECT_EQ(zemNodeByNum(model, 1), depth);
  EXPECT_EQ(zemNodeByNum(model, 5), second);

  EXPECT_EQ(zemGetNoParams(depth), 4);
  void* value = zemParamByNum(depth, 2);
  EXPECT_EQ(zemNodeByNum(depth, 2), value);
  EXPECT_EQ(zemGetInstanceNo(value), 2);
  EXPECT_EQ(zemGetNoInstances(value), 4);
  EXPECT_EQ(zemParamByNum(depth, 5), nullptr);

  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(ReadTree, LevelsTargetsAndFullNames) {
  void* value = zemParamByNum(depth, 1);
  EXPECT_EQ(zemGetLevel(root), 0);
  EXPECT_EQ(zemGetLevel(model), 1);
  EXPECT_EQ(zemGetLevel(depth), 2);
  EXPECT_EQ(zemGetLevel(value), 3);
  EXPECT_EQ(zemIsSection(root), 1);
  EXPECT_EQ(zemIsTarget(root), 0);
  EXPECT_EQ(zemIsTarget(model), 1);
  EXPECT_EQ(zemIsTarget(zemSectionByNum(model, 1)), 0);
  EXPECT_STREQ(zemGetNameGlb(root), "");
  EXPECT_STREQ(zemGetNameGlb(model), "Model");
  EXPECT_STREQ(zemGetNameGlb(zemSectionByNum(model, 1)), "Model.Sub");
  EXPECT_EQ(zemGetSyntaxClass(root), 1);
  EXPECT_EQ(zemGetSyntaxClass(model), 2);
  EXPECT_EQ(zemGetSyntaxClass(depth), 3);
  EXPECT_EQ(zemGetSyntaxClass(value), 6);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(ReadTree, ChildrenANodeCannotHaveAreReportedOnlyByTheLookups) {
  EXPECT_EQ(zemGetNoKeywords(root), 0);
  EXPECT_EQ(zemGetNoParams(model), 0);
  EXPECT_EQ(zemNodeByNum(zemParamByNum(depth, 1), 1), nullptr);
  EXPECT_EQ(reports.take(), Texts{});

  EXPECT_EQ(zemKeywordByNum(root, 1), nullptr);
  EXPECT_EQ(zemKeywordByNameNum(root, "Depth", 1), nullptr);
  EXPECT_EQ(zemSectionByNum(depth, 1), nullptr);
  EXPECT_EQ(zemSectionByNameNum(depth, "x", 1), nullptr);
  EXPECT_EQ(zemParamByNum(model, 1), nullptr);
  EXPECT_EQ(reports.take(), Texts(5, "Function invalid in this context"));
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST_F(ReadTree, InvalidNodeGivesNeutralResultCode1006AndOneReport) {
  const std::vector<std::pair<const char*, std::function<bool(void*)>>> exports = {
      {"zemSectionByNum", [](void* p) { return zemSectionByNum(p, 1) == nullptr; }},
      {"zemSectionByNameNum", [](void* p) { return zemSectionByNameNum(p, "a", 1) == nullptr; }},
      {"zemKeywordByNum", [](void* p) { return zemKeywordByNum(p, 1) == nullptr; }},
      {"zemKeywordByNameNum", [](void* p) { return zemKeywordByNameNum(p, "a", 1) == nullptr; }},
      {"zemParamByNum", [](void* p) { return zemParamByNum(p, 1) == nullptr; }},
      {"zemNodeByNum", [](void* p) { return zemNodeByNum(p, 1) == nullptr; }},
      {"zemGetSyntaxClass", [](void* p) { return zemGetSyntaxClass(p) == 0; }},
      {"zemGetNoSections", [](void* p) { return zemGetNoSections(p) == -1; }},
      {"zemGetNoKeywords", [](void* p) { return zemGetNoKeywords(p) == -1; }},
      {"zemGetNoParams", [](void* p) { return zemGetNoParams(p) == -1; }},
      {"zemGetNoNodes", [](void* p) { return zemGetNoNodes(p) == -1; }},
      {"zemGetNoInstances", [](void* p) { return zemGetNoInstances(p) == 0; }},
      {"zemGetInstanceNo", [](void* p) { return zemGetInstanceNo(p) == 0; }},
      {"zemGetLevel", [](void* p) { return zemGetLevel(p) == -1; }},
      {"zemGetName", [](void* p) { return std::strcmp(zemGetName(p), "") == 0; }},
      {"zemGetNameGlb", [](void* p) { return std::strcmp(zemGetNameGlb(p), "") == 0; }},
      {"zemGetInt", [](void* p) { return zemGetInt(p) == -1; }},
      {"zemGetFloat", [](void* p) { return zemGetFloat(p) == -1.0f; }},
      {"zemGetDouble", [](void* p) { return zemGetDouble(p) == -1.0; }},
      {"zemGetBool", [](void* p) { return zemGetBool(p) == 0; }},
      {"zemGetString", [](void* p) { return std::strcmp(zemGetString(p), "") == 0; }},
      {"zemIsSection", [](void* p) { return zemIsSection(p) == 0; }},
      {"zemIsKeyword", [](void* p) { return zemIsKeyword(p) == 0; }},
      {"zemIsParam", [](void* p) { return zemIsParam(p) == 0; }},
      {"zemIsNumeric", [](void* p) { return zemIsNumeric(p) == 0; }},
      {"zemIsInt", [](void* p) { return zemIsInt(p) == 0; }},
      {"zemIsFloat", [](void* p) { return zemIsFloat(p) == 0; }},
      {"zemIsDouble", [](void* p) { return zemIsDouble(p) == 0; }},
      {"zemIsBool", [](void* p) { return zemIsBool(p) == 0; }},
      {"zemIsString", [](void* p) { return zemIsString(p) == 0; }},
      {"zemIsUndefinedPar", [](void* p) { return zemIsUndefinedPar(p) == 0; }},
      {"zemIsDefaultPar", [](void* p) { return zemIsDefaultPar(p) == 0; }},
      {"zemIsTarget", [](void* p) { return zemIsTarget(p) == 0; }},
      {"zemNumericIsIntType", [](void* p) { return zemNumericIsIntType(p) == 0; }},
      {"zemFindDefault", [](void* p) { return zemFindDefault(p) == nullptr; }},
  };
  // Null, and a document handle where a node belongs.
  for (void* invalid : {static_cast<void*>(nullptr), handle}) {
    for (const auto& [name, neutral] : exports) {
      EXPECT_TRUE(neutral(invalid)) << name;
      EXPECT_EQ(zemGetErrorGlb(), 1006) << name;
      EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"}) << name;
    }
  }
}

TEST_F(ReadTree, HandleLookupsReportAnInvalidHandleButTheRootQuestionIsQuiet) {
  EXPECT_EQ(zemGetNoTargets(model), 0);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(zemTargetByNum(nullptr, 1), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(zemTargetByNameNum(model, "Model", 1), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(reports.take(), Texts(3, "Invalid zemHandle (CzemData)"));

  EXPECT_EQ(zemGetRoot(model), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetRoot(handle), root);
  EXPECT_EQ(zemIsSection(root), 1);
}

TEST(ReadWithoutTree, ExportsNeedingTheTreeFailAsAnInvalidNode) {
  Reports reports;
  zem_test::TreelessDocument document;
  void* handle = zem_test::asHandle(&document);
  EXPECT_EQ(zemGetRoot(handle), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_EQ(reports.take(), Texts{});

  EXPECT_EQ(zemGetNoTargets(handle), 0);
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(zemTargetByNum(handle, 1), nullptr);
  EXPECT_EQ(zemTargetByNameNum(handle, "A", 1), nullptr);
  EXPECT_EQ(zemFindSectionByHandle(handle, "A/B"), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(reports.take(), Texts(4, "Invalid zemNode"));
}

TEST_F(ReadTree, CopyVariantsCopyOnlyWhatFits) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(zemGetName2(depth, buffer, 5), -1);  // "Depth" needs 6 bytes
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(zemGetName2(depth, buffer, 6), 0);
  EXPECT_STREQ(buffer, "Depth");
  EXPECT_EQ(zemGetString2(zemParamByNum(depth, 3), buffer, 5), 0);
  EXPECT_STREQ(buffer, "text");
  EXPECT_EQ(zemGetName2(depth, nullptr, 6), -1);
  EXPECT_EQ(zemGetName2(depth, buffer, 0), -1);
  EXPECT_EQ(reports.take(), Texts{});

  // An invalid node yields the empty text, which fits any buffer.
  EXPECT_EQ(zemGetName2(nullptr, buffer, 1), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});
}

TEST_F(ReadTree, ParentSectionOfEveryKindOfNode) {
  void* sub = zemSectionByNum(model, 1);
  void* keyword = zemKeywordByNum(sub, 1);
  EXPECT_EQ(zemGetParentSection(keyword), sub);
  EXPECT_EQ(zemGetParentSection(zemParamByNum(keyword, 1)), sub);
  EXPECT_EQ(zemGetParentSection(sub), model);
  EXPECT_EQ(zemGetParentSection(model), root);
  EXPECT_EQ(zemGetParentSection(root), nullptr);
  EXPECT_EQ(reports.take(), Texts{});

  // Each of the three kind tests checks the node on its own.
  EXPECT_EQ(zemGetParentSection(nullptr), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(reports.take(), Texts(3, "Invalid zemNode"));
}

TEST_F(ReadTree, SectionPathsSplitAtSlashesAndPointsWithOptionalInstances) {
  void* secondSub = zemSectionByNameNum(model, "Sub", 2);
  void* deep = zemSectionByNameNum(zemSectionByNameNum(model, "Sub", 3), "Deep", 1);
  EXPECT_EQ(zemFindSectionByHandle(handle, "Model/Sub:2"), secondSub);
  EXPECT_EQ(zemFindSectionByHandle(handle, "model.SUB:2"), secondSub);
  EXPECT_EQ(zemFindSectionByHandle(handle, "/Model//Sub:3/Deep/"), deep);
  EXPECT_EQ(zemFindSectionByHandle(handle, "Model.Sub:3.Deep"), deep);
  EXPECT_EQ(zemFindSectionByHandle(handle, "Model/Sub:x"), zemSectionByNum(model, 1));
  EXPECT_EQ(zemFindSectionByHandle(handle, "Model/Missing/Sub"), nullptr);
  EXPECT_EQ(zemFindSectionByHandle(handle, "Model/Sub:0"), nullptr);
  EXPECT_EQ(zemFindSectionByHandle(handle, "Model/Sub:-1"), nullptr);
  EXPECT_EQ(zemFindSectionByHandle(handle, ""), nullptr);
  EXPECT_EQ(zemFindSectionByHandle(handle, nullptr), nullptr);

  EXPECT_EQ(zemFindSectionByNode(model, "Sub:3/Deep"), deep);
  EXPECT_EQ(zemFindSectionByNode(model, ""), model);
  EXPECT_EQ(zemFindSectionByNode(model, "Deep"), nullptr);
  EXPECT_EQ(zemFindSectionByNode(root, "Other"), zemTargetByNum(handle, 2));
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 0);

  EXPECT_EQ(zemFindSectionByHandle(model, "Model"), nullptr);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemHandle (CzemData)"});
  EXPECT_EQ(zemGetErrorGlb(), 1005);
}

TEST(ReadValues, GettersPassEachValueViewOn) {
  Reports reports;
  int number = 5;
  void* h = zemCreate();
  zemAddTarget(h, "A");
  zemAddKeyword(h, "k");
  zemAddInt(h, 7);
  zemAddDouble(h, 2.5);
  zemAddString(h, "text");
  zemAddBoolRef(h, &number);
  zemAddIntRef(h, &number);
  void* k = zemKeywordByNum(zemTargetByNum(h, 1), 1);
  void* integer = zemParamByNum(k, 1);
  void* real = zemParamByNum(k, 2);
  EXPECT_EQ(zemGetInt(integer), 7);
  EXPECT_EQ(zemIsDouble(integer), 0);
  EXPECT_EQ(zemGetDouble(integer), 0.0);  // a built integer has only its integer view
  EXPECT_EQ(zemNumericIsIntType(integer), 1);
  EXPECT_EQ(zemIsInt(real), 0);
  EXPECT_EQ(zemGetFloat(real), 2.5f);
  EXPECT_EQ(zemIsNumeric(real), 1);
  EXPECT_EQ(zemNumericIsIntType(real), 0);
  EXPECT_EQ(zemGetBool(zemParamByNum(k, 4)), 5);
  number = 6;
  EXPECT_EQ(zemGetInt(zemParamByNum(k, 5)), 6);
  EXPECT_EQ(reports.take(), Texts{});

  EXPECT_EQ(zemGetInt(zemParamByNum(k, 3)), 0);
  EXPECT_STREQ(zemGetString(integer), "");
  EXPECT_EQ(reports.take(), Texts(2, "Function invalid in this context"));
  EXPECT_EQ(zemGetErrorGlb(), 0);

  double d = 0;
  float f = 0;
  zemPasGetDoubleProc(real, &d);
  zemPasGetFloatProc(real, &f);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(f, 2.5f);
  zemPasGetDoubleProc(nullptr, &d);
  zemPasGetFloatProc(k, nullptr);  // no out-argument: nothing happens
  EXPECT_EQ(d, -1.0);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});
  zemClose(&h);
}

}  // namespace
