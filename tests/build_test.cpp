// Building: the insertion cursor, the status and silence of the quiet variants, template definitions, default lookups.
#include "test_support.hpp"

namespace {

class Building : public testing::Test {
 protected:
  void* target(unsigned n) { return zemTargetByNum(handle, n); }
  void* param(void* keyword, unsigned n) { return zemParamByNum(keyword, n); }
  static std::uint32_t flagsOf(void* p) { return static_cast<zem::CzemNamedNode*>(asNode(p))->flags(); }

  Reports reports;
  Handle handle = zemCreate();
};
using BuildCursor = Building;

class TemplateDefs : public Building {
 protected:
  void SetUp() override { zemAddTarget(handle, "T"); }
  void* top() { return target(1); }
};

}  // namespace

TEST_F(BuildCursor, InvalidHandleIsCode1005ReportedOnlyByPlainVariants) {
  void* node = zemGetRoot(handle);
  int variable = 0;
  for (void* invalid : {static_cast<void*>(nullptr), node}) {
    EXPECT_EQ((std::vector{zemAddTargetS(invalid, "A"), zemEndSectionS(invalid), zemAddDoubleS(invalid, 1),
                           zemAddIntRefS(invalid, &variable)}),
              std::vector(4, 1005));
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

TEST_F(TemplateDefs, KeywordDefinitionAddsAPlaceholderPerCodeAndBecomesCurrent) {
  zemAddKeywordDef(handle, "k", "idS", 1, 0, 1);
  zemAddKeywordDef(handle, "m", "fBn", 0, 1, 0);
  zemAddInt(handle, 5);
  zemAddKeywordDef(handle, "2nd", "", 1, 0, 0);  // names no file can hold are refused
  zemAddKeywordDef(handle, "n", nullptr, 0, 0, 0);
  reports.expect(0, {"Invalid name"});
  void* k = zemKeywordByNum(top(), 1);
  void* m = zemKeywordByNum(top(), 2);
  EXPECT_EQ((std::vector{flagsOf(k), flagsOf(m), flagsOf(zemKeywordByNum(top(), 3))}), (std::vector{1u | 4u, 2u, 0u}));
  EXPECT_EQ(zemIsInt(param(k, 1)) + zemIsDouble(param(k, 2)) + zemIsString(param(k, 3)) + zemIsFloat(param(m, 1)) +
                zemIsBool(param(m, 2)),
            5);

  zemAddKeywordDef(handle, "u", "ix?", 0, 0, 0);
  reports.expect(0, {"Invalid parameter definition code: 'x'", "Invalid parameter definition code: '?'"});
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Invalid parameter definition code: '?'");
  EXPECT_EQ(treeOf(zemGetRoot(handle)), "[T k=6,7,9 m=7,8,10,6 n= u=6]");
  EXPECT_EQ(zemAddKeywordDefS(handle, "v", "Q", 0, 0, 0), 2000);
}

TEST_F(TemplateDefs, DefinitionsKeepTheCurrentClobAndTheWildcardHasNoName) {
  zemAddKeyword(handle, "c");
  zemAddClob(handle);
  zemAddKeywordDef(handle, nullptr, "d", 0, 0, 0);  // the wildcard: no name at all
  zemAddSectionDef(handle, "S", 0, 0);
  zemAddClobInt(handle, 7);  // still the CLOB of c
  EXPECT_STREQ(zemGetString(zemParamByNum(zemKeywordByNum(top(), 1), 1)), "7");
  zemAddKeywordDef(handle, "", "", 0, 0, 0);
  zemEndSection(handle);
  zemEndSection(handle);
  reports.expect(0, {});
  // A keyword without a name is written as "()", the only form that reads back.
  Handle loaded = reread(handle);
  void* wildcard = zemKeywordByNum(zemTargetByNum(loaded, 1), 2);
  EXPECT_EQ(std::tuple(std::string(zemGetName(wildcard)), zemIsDouble(zemParamByNum(wildcard, 1)),
                       zemGetNoKeywords(zemSectionByNum(zemTargetByNum(loaded, 1), 1))),
            std::tuple("", 1, 1));
}

TEST_F(TemplateDefs, DefinitionsRefuseEveryHandleNotMadeByCreateEvenQuietly) {
  TreelessDocument loaded;
  void* notCreated = asVoid(&loaded);
  for (void* invalid : {notCreated, top(), static_cast<void*>(nullptr)}) {
    EXPECT_EQ((std::vector{zemAddIntDefS(invalid), zemAddFilenameDefS(invalid),
                           zemAddKeywordDefS(invalid, "k", "i", 0, 0, 0), zemAddSectionDefS(invalid, "s", 0, 0)}),
              std::vector(4, 1005));
    reports.expect(1005, Texts(4, "Invalid zemHandle (CzemCreate)"));
  }
  zemAddDoubleDef(notCreated);
  zemAddSectionDef(nullptr, "s", 0, 0);
  reports.expect(1005, Texts(2, "Invalid zemHandle (CzemCreate)"));
  zemAddKeyword(notCreated, "k");  // the refused quiet calls did not make the handle silent
  reports.expect(0, {"Missing current section"});
  int variable = 1;  // references accept any document handle
  EXPECT_EQ(zemAddIntRefS(notCreated, &variable), 2000);
}

TEST_F(BuildCursor, EndSectionClimbsASecondTargetWaitsAndQuietVariantsReturnAndClearTheStatusSilently) {
  zemAddTarget(handle, "A");
  zemAddTarget(handle, "B");
  reports.expect(0, {"Previous section was not completed"});
  zemAddSection(handle, "S");
  zemAddSection(handle, "T");
  for (const char* keyword : {"inS", "inA", "nowhere"}) {
    zemEndSection(handle);
    zemAddKeyword(handle, keyword);
  }
  zemEndSection(handle);
  reports.expect(0, Texts(2, "Missing current section"));
  zemAddTarget(handle, "B");
  reports.expect(0, {});
  EXPECT_EQ(treeOf(zemGetRoot(handle)), "[A [S [T] inS=] inA=] [B]");

  handle = createDocument("A", "k");
  zemAddTarget(handle, "B");  // plain: reported, status kept
  reports.expect(0, {"Previous section was not completed"});
  EXPECT_EQ((std::vector{zemAddIntS(handle, 1), zemGetNoParams(zemKeywordByNum(target(1), 1)), zemAddIntS(handle, 2)}),
            (std::vector{2000, 1, 0}));
  zemAddSection(handle, "S");
  for (int i = 0; i < 2; ++i) zemEndSection(handle);
  zemAddKeyword(handle, "lost");
  EXPECT_EQ((std::vector{zemAddTargetS(handle, "B"), zemEndSectionS(handle), zemEndSectionS(handle),
                         zemAddKeywordS(handle, "k")}),
            (std::vector{2000, 0, 2000, 2000}));
}

TEST(DefaultLookups, EmptyPlacesOfADefaultLineFindTheFirstMatchingLine) {
  Reports reports;
  Handle doc = loadDocument("[T] default (k) = 1, 2  default (K) = , 9  default (m) = , 3  k = , 5 EndSect");
  void* target = zemTargetByNum(doc, 1);
  const auto place = [target](unsigned node) { return zemParamByNum(zemNodeByNum(target, node), 1); };
  void *first = place(1), *unmatched = place(3), *keywordPlace = place(4);
  EXPECT_EQ((std::vector{zemFindDefault(place(2)), zemFindDefault(unmatched), zemFindDefault(first)}),
            (std::vector<void*>{first, unmatched, nullptr}));
  EXPECT_EQ((std::vector{zemIsDefaultPar(place(2)), zemIsUndefinedPar(keywordPlace), zemIsDefaultPar(keywordPlace),
                         zemIsUndefinedPar(place(2))}),
            (std::vector{1, 1, 0, 0}));
}
