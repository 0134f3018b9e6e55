// Default resolution: a placeholder value of a keyword stands for the value of
// a matching default line before it, searched outward up to the target.
#include <gtest/gtest.h>

#include <initializer_list>

#include "model/named_nodes.hpp"
#include "model/values.hpp"
#include "vox_capture.hpp"

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

class Defaults : public ::testing::Test {
 protected:
  Defaults() {
    target_ = new CzemSection("Target");
    root_.addSection(target_);
  }
  CzemTargetList root_;
  CzemSection* target_;
};

}  // namespace

TEST_F(Defaults, DefinitionNearestTheStartDecides) {
  CzemDefaultDef* first = addDefaults(*target_, "k", {1, 2});
  addDefaults(*target_, "k", {3, 4});
  CzemKeyword* k = addPlaceholders(*target_, "k", 2);
  EXPECT_EQ(k->ParamByNum(2), first->NodeByNum(2));
  EXPECT_EQ(k->ParamByNum(2)->GetInt(), 2);
  EXPECT_EQ(k->ParamByNum(1)->GetInt(), 1);
}

TEST_F(Defaults, EmptyPlaceInTheFirstDefinitionWinsOverALaterValue) {
  addDefaults(*target_, "k", {0});
  addDefaults(*target_, "k", {5});
  CzemKeyword* k = addPlaceholders(*target_, "k", 1);
  EXPECT_EQ(k->ParamByNum(1), k->NodeByNum(1));
  EXPECT_EQ(target_->FindDefault(k, "k", 1), nullptr);
}

TEST_F(Defaults, NamesMatchIgnoringCase) {
  addDefaults(*target_, "DEPTH", {7});
  CzemKeyword* k = addPlaceholders(*target_, "Depth", 1);
  ASSERT_NE(k->ParamByNum(1), nullptr);
  EXPECT_EQ(k->ParamByNum(1)->GetInt(), 7);
}

TEST_F(Defaults, DefinitionsAfterTheKeywordDoNotCount) {
  CzemKeyword* k = addPlaceholders(*target_, "k", 1);
  addDefaults(*target_, "k", {9});
  EXPECT_EQ(k->ParamByNum(1), k->NodeByNum(1));
  EXPECT_EQ(k->ParamByNum(1)->IsDefaultPar(), 1);
}

TEST_F(Defaults, SearchClimbsToEnclosingSections) {
  addDefaults(*target_, "k", {7, 8});
  auto* outer = new CzemSection("Outer");
  target_->addSection(outer);
  addDefaults(*outer, "k", {0, 6});
  auto* inner = new CzemSection("Inner");
  outer->addSection(inner);
  CzemKeyword* k = addPlaceholders(*inner, "k", 2);
  EXPECT_EQ(k->ParamByNum(1)->GetInt(), 7);  // empty in Outer, found in Target
  EXPECT_EQ(k->ParamByNum(2)->GetInt(), 6);  // the nearer section answers first
}

TEST_F(Defaults, RootListIsNeverSearched) {
  auto* stray = new CzemDefaultDef("k");
  stray->addParam(new CzemInt(1));
  root_.appendChild(stray);
  auto* later = new CzemSection("Later");
  root_.addSection(later);
  CzemKeyword* k = addPlaceholders(*later, "k", 1);
  EXPECT_EQ(k->ParamByNum(1), k->NodeByNum(1));
}

TEST_F(Defaults, PlaceholderWithoutDefinitionIsAnsweredWithItself) {
  addDefaults(*target_, "other", {1});
  addDefaults(*target_, "k", {1});
  CzemKeyword* k = addPlaceholders(*target_, "k", 2);
  ReportCapture capture;
  EXPECT_EQ(k->ParamByNum(2), k->NodeByNum(2));  // the definition has no second value
  EXPECT_TRUE(capture.reports().empty());
  EXPECT_EQ(zemPeekErrorGlb(), 0);
}

TEST_F(Defaults, DefinitionAnswersItsOwnPlaceholdersUnresolved) {
  addDefaults(*target_, "k", {4});
  CzemDefaultDef* later = addDefaults(*target_, "k", {0});
  EXPECT_EQ(later->ParamByNum(1)->IsDefaultPar(), 1);
}

TEST_F(Defaults, OrdinaryValueIsNotReplacedAndKeywordPassesTheSearchOutward) {
  addDefaults(*target_, "k", {4});
  auto* k = new CzemKeyword("k");
  target_->addKeyword(k);
  auto* own = new CzemInt(11);
  k->addParam(own);
  EXPECT_EQ(k->ParamByNum(1), own);
  // Asked directly, a keyword holds no definitions but passes the question outward.
  EXPECT_EQ(k->FindDefault(own, "k", 1)->GetInt(), 4);
  CzemSection detached("S");
  EXPECT_EQ(detached.FindDefault(k, "k", 1), nullptr);  // k is not its child and it has no parent
}
