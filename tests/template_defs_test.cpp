// Template definitions, their handle rule, and default lookups.
#include "test_support.hpp"

static std::uint32_t flagsOf(void* p) { return static_cast<zem::CzemNamedNode*>(asNode(p))->flags(); }

class TemplateDefs : public testing::Test {
 protected:
  void SetUp() override { zemAddTarget(handle, "T"); }
  void TearDown() override { zemClose(&handle); }
  void* top() { return zemTargetByNum(handle, 1); }
  void* param(void* keyword, unsigned n) { return zemParamByNum(keyword, n); }

  Reports reports;
  void* handle = zemCreate();
};

TEST_F(TemplateDefs, KeywordDefinitionAddsAPlaceholderPerCodeAndBecomesCurrent) {
  zemAddKeywordDef(handle, "k", "idS", 1, 0, 1);
  void* k = zemKeywordByNum(top(), 1);
  EXPECT_EQ(flagsOf(k), 1u | 4u);
  ASSERT_EQ(zemGetNoParams(k), 3);
  EXPECT_EQ(zemNumericIsIntType(param(k, 1)), 1);
  EXPECT_EQ(zemGetSyntaxClass(param(k, 2)), 7);
  EXPECT_STREQ(zemGetString(param(k, 3)), "");
  zemAddKeywordDef(handle, "m", "fBn", 0, 1, 0);
  void* m = zemKeywordByNum(top(), 2);
  EXPECT_EQ(flagsOf(m), 2u);
  ASSERT_EQ(zemGetNoParams(m), 3);
  EXPECT_EQ(zemIsFloat(param(m, 1)), 1);
  EXPECT_EQ(zemIsBool(param(m, 2)), 1);
  zemAddInt(handle, 5);
  EXPECT_EQ(zemGetNoParams(m), 4);
  zemAddKeywordDef(handle, "", "", 1, 0, 0);
  zemAddKeywordDef(handle, nullptr, nullptr, 0, 0, 0);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(top(), 3)), "");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(top(), 3)), 0);
  EXPECT_EQ(flagsOf(zemKeywordByNum(top(), 4)), 0u);
  reports.expect(0, {});

  zemAddKeywordDef(handle, "u", "ix?", 0, 0, 0);
  reports.expect(0, {"Invalid parameter definition code: 'x'", "Invalid parameter definition code: '?'"});
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Invalid parameter definition code: '?'");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(top(), 5)), 1);
  EXPECT_EQ(zemAddKeywordDefS(handle, "v", "Q", 0, 0, 0), 2000);
  reports.expect(0, {});
}

TEST_F(TemplateDefs, SectionDefinitionOpensASubsectionAndPlaceholdersNeedAKeyword) {
  zemAddSectionDef(handle, "S", 1, 1);
  zemAddIntDef(handle);
  reports.expect(0, {"Missing current keyword"});
  zemAddKeyword(handle, "k");
  zemAddIntDef(handle);
  zemAddFloatDef(handle);
  zemAddDoubleDef(handle);
  zemAddBoolDef(handle);
  zemAddStringDef(handle);
  zemAddFilenameDef(handle);
  EXPECT_EQ(zemAddIntDefS(handle), 2000);  // the first failure is still pending
  zemEndSection(handle);
  void* s = zemSectionByNum(top(), 1);
  EXPECT_EQ(flagsOf(s), 3u);
  EXPECT_EQ(zemGetNoKeywords(top()), 0);
  void* k = zemKeywordByNum(s, 1);
  ASSERT_EQ(zemGetNoParams(k), 7);
  EXPECT_EQ(zemGetInt(param(k, 1)), 0);
  EXPECT_EQ(zemIsFloat(param(k, 2)), 1);
  EXPECT_EQ(zemIsDouble(param(k, 3)), 1);
  EXPECT_EQ(zemIsBool(param(k, 4)), 1);
  EXPECT_EQ(zemIsString(param(k, 5)), 1);
  reports.expect(0, {});
  void* fresh = zemCreate();
  zemAddSectionDef(fresh, "S", 0, 0);
  zemAddKeywordDef(fresh, "k", "i", 0, 0, 0);
  reports.expect(0, Texts(2, "Missing current section"));
  EXPECT_EQ(zemGetNoTargets(fresh), 0);
  zemClose(&fresh);
}

TEST_F(TemplateDefs, DefinitionsRefuseEveryHandleNotMadeByCreateEvenQuietly) {
  TreelessDocument loaded;
  void* notCreated = asVoid(&loaded);
  for (void* invalid : {notCreated, top(), static_cast<void*>(nullptr)}) {
    EXPECT_EQ(zemAddIntDefS(invalid), 1005);
    EXPECT_EQ(zemAddFilenameDefS(invalid), 1005);
    EXPECT_EQ(zemAddKeywordDefS(invalid, "k", "i", 0, 0, 0), 1005);
    EXPECT_EQ(zemAddSectionDefS(invalid, "s", 0, 0), 1005);
    reports.expect(1005, Texts(4, "Invalid zemHandle (CzemCreate)"));
  }
  zemAddDoubleDef(notCreated);
  zemAddSectionDef(nullptr, "s", 0, 0);
  reports.expect(1005, Texts(2, "Invalid zemHandle (CzemCreate)"));
  zemAddKeyword(notCreated, "k");  // the refused quiet calls did not make the handle silent
  reports.expect(0, {"Missing current section"});
  int variable = 1;  // references accept any document handle
  EXPECT_EQ(zemAddIntRefS(notCreated, &variable), 2000);
  EXPECT_STREQ(zemGetErrorFromZemData(notCreated), "Missing current keyword");
  reports.expect(0, {});
}

TEST_F(TemplateDefs, DefaultPlacesFindTheFirstMatchingLine) {
  // default (k) = 1, 2   default (K) = <empty>, 9   k = <default place>, <default place>, <default place>
  auto* section = static_cast<zem::CzemSection*>(asNode(top()));
  auto* first = new zem::CzemDefaultDef("k");
  first->addParam(new zem::CzemInt(1));
  first->addParam(new zem::CzemInt(2));
  section->addDefaultDef(first);
  auto* second = new zem::CzemDefaultDef("K");
  second->addParam(new zem::CzemDefaultPar());
  second->addParam(new zem::CzemInt(9));
  section->addDefaultDef(second);
  zemAddKeyword(handle, "k");
  void* k = zemKeywordByNum(top(), 1);
  for (int i = 0; i < 3; ++i) static_cast<zem::CzemKeyword*>(asNode(k))->addParam(new zem::CzemDefaultPar());

  void* place = asVoid(second->NodeByNum(1));
  EXPECT_EQ(zemIsDefaultPar(place), 1);
  EXPECT_EQ(zemFindDefault(place), asVoid(first->NodeByNum(1)));
  EXPECT_EQ(zemParamByNum(asVoid(second), 1), place);  // a default line does not resolve its own places
  EXPECT_EQ(zemGetInt(param(k, 2)), 2);
  EXPECT_EQ(zemFindDefault(zemNodeByNum(k, 2)), asVoid(first->NodeByNum(2)));
  EXPECT_EQ(zemFindDefault(param(k, 3)), param(k, 3));
  EXPECT_EQ(zemFindDefault(asVoid(first->NodeByNum(1))), nullptr);
  EXPECT_EQ(zemFindDefault(k), nullptr);
  zemAddKeyword(handle, "u");
  zemAddUndefinedPar(handle);
  void* undefinedPlace = param(zemKeywordByNum(top(), 2), 1);
  EXPECT_EQ(zemIsUndefinedPar(undefinedPlace), 1);
  EXPECT_EQ(zemIsDefaultPar(undefinedPlace), 0);
  EXPECT_EQ(zemIsUndefinedPar(place), 0);
  reports.expect(0, {});
}
