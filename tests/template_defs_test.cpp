// Template definitions, their handle rule, and default lookups.
#include <gtest/gtest.h>

#include "api_test_support.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"

using zem_test::Reports;
using zem_test::Texts;

namespace {

zem::CzemNode* asNode(void* p) { return static_cast<zem::CzemNode*>(static_cast<zem::CzemBase*>(p)); }
std::uint32_t flagsOf(void* p) { return static_cast<zem::CzemNamedNode*>(asNode(p))->flags(); }

class TemplateDefs : public testing::Test {
 protected:
  void SetUp() override {
    handle = zemCreate();
    zemAddTarget(handle, "T");
  }
  void TearDown() override { zemClose(&handle); }
  void* top() { return zemTargetByNum(handle, 1); }

  Reports reports;
  void* handle = nullptr;
};

TEST_F(TemplateDefs, KeywordDefinitionAddsAPlaceholderPerCode) {
  zemAddKeywordDef(handle, "k", "idS", 1, 0, 1);
  void* k = zemKeywordByNum(top(), 1);
  EXPECT_EQ(flagsOf(k), 1u | 4u);
  ASSERT_EQ(zemGetNoParams(k), 3);
  EXPECT_EQ(zemIsInt(zemParamByNum(k, 1)), 1);
  EXPECT_EQ(zemNumericIsIntType(zemParamByNum(k, 1)), 1);
  EXPECT_EQ(zemIsDouble(zemParamByNum(k, 2)), 1);
  EXPECT_EQ(zemGetSyntaxClass(zemParamByNum(k, 2)), 7);
  EXPECT_EQ(zemIsString(zemParamByNum(k, 3)), 1);
  EXPECT_STREQ(zemGetString(zemParamByNum(k, 3)), "");

  zemAddKeywordDef(handle, "m", "fBn", 0, 1, 0);
  void* m = zemKeywordByNum(top(), 2);
  EXPECT_EQ(flagsOf(m), 2u);
  ASSERT_EQ(zemGetNoParams(m), 3);
  EXPECT_EQ(zemIsFloat(zemParamByNum(m, 1)), 1);
  EXPECT_EQ(zemIsBool(zemParamByNum(m, 2)), 1);
  EXPECT_EQ(zemGetBool(zemParamByNum(m, 2)), 0);
  EXPECT_EQ(reports.take(), Texts{});

  // The new definition is the current keyword.
  zemAddInt(handle, 5);
  EXPECT_EQ(zemGetNoParams(m), 4);

  zemAddKeywordDef(handle, "", "", 1, 0, 0);
  zemAddKeywordDef(handle, nullptr, nullptr, 0, 0, 0);
  EXPECT_STREQ(zemGetName(zemKeywordByNum(top(), 3)), "");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(top(), 3)), 0);
  EXPECT_EQ(flagsOf(zemKeywordByNum(top(), 4)), 0u);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(TemplateDefs, UnknownCodeIsABuildingErrorPerCharacter) {
  zemAddKeywordDef(handle, "k", "ix?", 0, 0, 0);
  EXPECT_EQ(reports.take(),
            (Texts{"Invalid parameter definition code: 'x'", "Invalid parameter definition code: '?'"}));
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Invalid parameter definition code: '?'");
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(top(), 1)), 1);
  EXPECT_EQ(zemAddKeywordDefS(handle, "m", "Q", 0, 0, 0), 2000);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST_F(TemplateDefs, SectionDefinitionOpensASubsectionWithFlags) {
  zemAddSectionDef(handle, "S", 1, 1);
  zemAddKeyword(handle, "inside");
  zemEndSection(handle);
  void* s = zemSectionByNum(top(), 1);
  EXPECT_EQ(flagsOf(s), 3u);
  EXPECT_EQ(zemGetNoKeywords(s), 1);
  EXPECT_EQ(zemGetNoKeywords(top()), 0);
  EXPECT_EQ(reports.take(), Texts{});

  void* fresh = zemCreate();
  zemAddSectionDef(fresh, "S", 0, 0);
  zemAddKeywordDef(fresh, "k", "i", 0, 0, 0);
  EXPECT_EQ(reports.take(), Texts(2, "Missing current section"));
  EXPECT_EQ(zemGetNoTargets(fresh), 0);
  zemClose(&fresh);
}

TEST_F(TemplateDefs, PlaceholdersNeedAKeyword) {
  zemAddIntDef(handle);
  EXPECT_EQ(reports.take(), Texts{"Missing current keyword"});
  zemAddKeyword(handle, "k");
  zemAddIntDef(handle);
  zemAddFloatDef(handle);
  zemAddDoubleDef(handle);
  zemAddBoolDef(handle);
  zemAddStringDef(handle);
  zemAddFilenameDef(handle);
  EXPECT_EQ(zemAddIntDefS(handle), 2000);  // the first failure is still pending
  void* k = zemKeywordByNum(top(), 1);
  ASSERT_EQ(zemGetNoParams(k), 7);
  EXPECT_EQ(zemGetInt(zemParamByNum(k, 1)), 0);
  EXPECT_EQ(zemIsFloat(zemParamByNum(k, 2)), 1);
  EXPECT_EQ(zemIsDouble(zemParamByNum(k, 3)), 1);
  EXPECT_EQ(zemIsBool(zemParamByNum(k, 4)), 1);
  EXPECT_EQ(zemIsString(zemParamByNum(k, 5)), 1);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(TemplateDefs, DefinitionsRefuseEveryHandleNotMadeByCreateEvenQuietly) {
  zem_test::TreelessDocument loaded;
  void* notCreated = zem_test::asHandle(&loaded);
  for (void* invalid : {notCreated, top(), static_cast<void*>(nullptr)}) {
    EXPECT_EQ(zemAddIntDefS(invalid), 1005);
    EXPECT_EQ(zemAddFilenameDefS(invalid), 1005);
    EXPECT_EQ(zemAddKeywordDefS(invalid, "k", "i", 0, 0, 0), 1005);
    EXPECT_EQ(zemAddSectionDefS(invalid, "s", 0, 0), 1005);
    EXPECT_EQ(zemGetErrorGlb(), 1005);
    EXPECT_EQ(reports.take(), Texts(4, "Invalid zemHandle (CzemCreate)"));
  }
  zemAddDoubleDef(notCreated);
  zemAddKeywordDef(notCreated, "k", "i", 0, 0, 0);
  zemAddSectionDef(nullptr, "s", 0, 0);
  EXPECT_EQ(reports.take(), Texts(3, "Invalid zemHandle (CzemCreate)"));
  // The refused quiet calls did not make the handle silent.
  zemAddKeyword(notCreated, "k");
  EXPECT_EQ(reports.take(), Texts{"Missing current section"});
}

TEST_F(TemplateDefs, ReferencesAcceptAnyDocumentHandle) {
  zem_test::TreelessDocument loaded;
  int variable = 1;
  EXPECT_EQ(zemAddIntRefS(zem_test::asHandle(&loaded), &variable), 2000);
  EXPECT_STREQ(zemGetErrorFromZemData(zem_test::asHandle(&loaded)), "Missing current keyword");
  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_EQ(reports.take(), Texts{});
}

// A section holding  default (k) = 1, 2   default (k) = <empty>, 9   k = <default place>, <default place>
class DefaultLookups : public TemplateDefs {
 protected:
  void SetUp() override {
    TemplateDefs::SetUp();
    auto* section = static_cast<zem::CzemSection*>(asNode(top()));
    first = new zem::CzemDefaultDef("k");
    first->addParam(new zem::CzemInt(1));
    first->addParam(new zem::CzemInt(2));
    section->addDefaultDef(first);
    second = new zem::CzemDefaultDef("K");
    second->addParam(new zem::CzemDefaultPar());
    second->addParam(new zem::CzemInt(9));
    section->addDefaultDef(second);
    zemAddKeyword(handle, "k");
    auto* keyword = static_cast<zem::CzemKeyword*>(asNode(zemKeywordByNum(top(), 1)));
    keyword->addParam(new zem::CzemDefaultPar());
    keyword->addParam(new zem::CzemDefaultPar());
    keyword->addParam(new zem::CzemDefaultPar());
    k = zemKeywordByNum(top(), 1);
  }
  static void* caller(zem::CzemNode* n) { return static_cast<zem::CzemBase*>(n); }

  zem::CzemDefaultDef* first = nullptr;
  zem::CzemDefaultDef* second = nullptr;
  void* k = nullptr;
};

TEST_F(DefaultLookups, PlaceholderOfALaterDefaultLineFindsTheEarlierLine) {
  void* place = caller(second->NodeByNum(1));
  EXPECT_EQ(zemIsDefaultPar(place), 1);
  EXPECT_EQ(zemFindDefault(place), caller(first->NodeByNum(1)));
  EXPECT_EQ(zemGetInt(zemFindDefault(place)), 1);
  EXPECT_EQ(zemParamByNum(caller(second), 1), place);  // a default line does not resolve its own places
}

TEST_F(DefaultLookups, KeywordPlacesAreAnsweredByTheFirstMatchingLine) {
  EXPECT_EQ(zemGetInt(zemParamByNum(k, 1)), 1);
  EXPECT_EQ(zemGetInt(zemParamByNum(k, 2)), 2);
  void* third = zemParamByNum(k, 3);
  EXPECT_EQ(zemIsDefaultPar(third), 1);
  EXPECT_EQ(zemFindDefault(third), third);
  EXPECT_EQ(zemFindDefault(zemNodeByNum(k, 2)), caller(first->NodeByNum(2)));
  EXPECT_EQ(zemGetNoKeywords(top()), 1);
  EXPECT_EQ(zemGetNoNodes(top()), 3);
}

TEST_F(DefaultLookups, OnlyPlaceholdersHaveDefaults) {
  EXPECT_EQ(zemFindDefault(caller(first->NodeByNum(1))), nullptr);
  EXPECT_EQ(zemFindDefault(k), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemFindDefault(handle), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});

  zemAddKeyword(handle, "u");
  zemAddUndefinedPar(handle);
  void* undefinedPlace = zemParamByNum(zemKeywordByNum(top(), 2), 1);
  EXPECT_EQ(zemIsUndefinedPar(undefinedPlace), 1);
  EXPECT_EQ(zemIsDefaultPar(undefinedPlace), 0);
  EXPECT_EQ(zemIsUndefinedPar(caller(second->NodeByNum(1))), 0);
}

}  // namespace
