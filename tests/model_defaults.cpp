// Default resolution: a placeholder value of a keyword stands for the value of
// a matching default line before it, searched outward up to the target.
#include "test_support.hpp"

using namespace zem;

namespace {

// Adds "default (name) = v, ..." where 0 stands for an empty place.
CzemDefaultDef* addDefaults(CzemSection& section, const char* name, std::initializer_list<int> values) {
  auto* definition = new CzemDefaultDef(name);
  section.addDefaultDef(definition);
  for (int v : values) definition->addParam(v == 0 ? static_cast<CzemNode*>(new CzemDefaultPar()) : new CzemInt(v));
  return definition;
}

// Adds "name = , , ..." with `places` placeholders.
CzemKeyword* addPlaceholders(CzemSection& section, const char* name, int places) {
  auto* keyword = new CzemKeyword(name);
  section.addKeyword(keyword);
  for (int i = 0; i < places; ++i) keyword->addParam(new CzemDefaultPar());
  return keyword;
}

class Defaults : public testing::Test {
 protected:
  Defaults() { root_.addSection(target_); }
  CzemTargetList root_;
  CzemSection* target_ = new CzemSection("Target");
};

TEST_F(Defaults, FirstMatchingDefinitionBeforeTheKeywordDecidesIgnoringCase) {
  CzemDefaultDef* first = addDefaults(*target_, "DEPTH", {1, 2});
  addDefaults(*target_, "depth", {3, 4, 5});
  CzemKeyword* k = addPlaceholders(*target_, "Depth", 3);
  addDefaults(*target_, "depth", {9, 9, 9});  // after the keyword: does not count
  EXPECT_EQ(k->ParamByNum(2), first->NodeByNum(2));
  EXPECT_EQ(k->ParamByNum(1)->GetInt(), 1);
  zem_test::Reports reports;
  EXPECT_EQ(k->ParamByNum(3), k->NodeByNum(3));  // the first definition has no third value
  EXPECT_EQ(reports.take(), zem_test::Texts{});
  EXPECT_EQ(zemPeekErrorGlb(), 0);
}

TEST_F(Defaults, EmptyPlaceInTheFirstDefinitionWinsAndDefinitionsDoNotResolveTheirOwnPlaces) {
  addDefaults(*target_, "k", {0});
  CzemDefaultDef* later = addDefaults(*target_, "k", {5});
  CzemKeyword* k = addPlaceholders(*target_, "k", 1);
  EXPECT_EQ(k->ParamByNum(1), k->NodeByNum(1));
  EXPECT_EQ(target_->FindDefault(k, "k", 1), nullptr);
  CzemDefaultDef* own = addDefaults(*target_, "k", {0});
  EXPECT_EQ(own->ParamByNum(1)->IsDefaultPar(), 1);
  EXPECT_EQ(later->ParamByNum(1)->GetInt(), 5);
}

TEST_F(Defaults, SearchClimbsToEnclosingSectionsButNeverIntoTheRootList) {
  addDefaults(*target_, "k", {7, 8});
  auto* outer = new CzemSection("Outer");
  target_->addSection(outer);
  addDefaults(*outer, "k", {0, 6});
  auto* inner = new CzemSection("Inner");
  outer->addSection(inner);
  CzemKeyword* k = addPlaceholders(*inner, "k", 2);
  EXPECT_EQ(k->ParamByNum(1)->GetInt(), 7);  // empty in Outer, found in Target
  EXPECT_EQ(k->ParamByNum(2)->GetInt(), 6);  // the nearer section answers first

  auto* stray = new CzemDefaultDef("k");
  stray->addParam(new CzemInt(1));
  root_.appendChild(stray);
  auto* later = new CzemSection("Later");
  root_.addSection(later);
  CzemKeyword* unresolved = addPlaceholders(*later, "k", 1);
  EXPECT_EQ(unresolved->ParamByNum(1), unresolved->NodeByNum(1));
}

TEST_F(Defaults, OrdinaryValueIsNotReplacedAndKeywordPassesTheSearchOutward) {
  addDefaults(*target_, "k", {4});
  auto* k = new CzemKeyword("k");
  target_->addKeyword(k);
  auto* own = new CzemInt(11);
  k->addParam(own);
  EXPECT_EQ(k->ParamByNum(1), own);
  EXPECT_EQ(k->FindDefault(own, "k", 1)->GetInt(), 4);
  CzemSection detached("S");
  EXPECT_EQ(detached.FindDefault(k, "k", 1), nullptr);  // k is not its child and it has no parent
}

}  // namespace
