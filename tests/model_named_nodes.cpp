// Sections, keywords and target lists: appending, instance numbers, folded
// names, counts, lookups by number and name, and dotted full names.
#include <gtest/gtest.h>

#include "model/named_nodes.hpp"
#include "model/values.hpp"
#include "vox_capture.hpp"

using namespace zem;

namespace {

CzemKeyword* addKeyword(CzemSection& section, const char* name) {
  auto* keyword = new CzemKeyword(name);
  section.addKeyword(keyword);
  return keyword;
}

CzemSection* addSection(CzemTargetList& list, const char* name) {
  auto* section = new CzemSection(name);
  list.addSection(section);
  return section;
}

}  // namespace

TEST(NamedNodes, RepeatedKeywordGetsNextInstanceNumber) {
  CzemSection section("S");
  CzemKeyword* a = addKeyword(section, "a");
  CzemKeyword* b = addKeyword(section, "b");
  CzemKeyword* a2 = addKeyword(section, "A");
  EXPECT_EQ(a->GetInstanceNo(), 1u);
  EXPECT_EQ(b->GetInstanceNo(), 1u);
  EXPECT_EQ(a2->GetInstanceNo(), 2u);
  EXPECT_EQ(section.KeywordByNum(3), a2);
  EXPECT_EQ(a->GetNoInstances(), 2);
  EXPECT_EQ(a2->GetNoInstances(), 2);
  EXPECT_EQ(b->GetNoInstances(), 1);
  EXPECT_EQ(section.GetNoKeywords(), 3);
  EXPECT_EQ(a->parent(), &section);
}

TEST(NamedNodes, NamesCompareFoldedAndKeepTheirCase) {
  CzemSection section("S");
  addKeyword(section, "depth");
  CzemKeyword* second = addKeyword(section, "Depth");
  CzemKeyword* third = addKeyword(section, "DEPTH");
  EXPECT_EQ(section.KeywordByNameNum("DEPTH", 2), second);
  EXPECT_EQ(section.KeywordByNameNum("depth", 3), third);
  EXPECT_STREQ(third->GetName(), "DEPTH");
  EXPECT_EQ(section.KeywordByNameNum("DEPTH", 0), nullptr);
  EXPECT_EQ(section.KeywordByNameNum("DEPTH", 4), nullptr);
  EXPECT_EQ(section.KeywordByNameNum("dept", 1), nullptr);
  EXPECT_EQ(section.KeywordByNameNum(nullptr, 1), nullptr);
  EXPECT_EQ(section.KeywordByName("dEpTh"), section.KeywordByNum(1));
}

TEST(NamedNodes, EmptyNameAndSingleBlankAreNamesakes) {
  CzemTargetList root;
  CzemSection* empty = addSection(root, "");
  CzemSection* blank = addSection(root, " ");
  EXPECT_EQ(blank->GetInstanceNo(), 2u);
  EXPECT_EQ(empty->GetNoInstances(), 2);
  EXPECT_EQ(root.SectionByNameNum("", 2), blank);
  EXPECT_EQ(root.SectionByName(" "), empty);
  EXPECT_EQ(root.SectionByNameNum("  ", 1), nullptr);
}

TEST(NamedNodes, NamesOnlyFoldAsciiLetters) {
  CzemSection section("S");
  CzemKeyword* umlaut = addKeyword(section, "\xC4");  // Latin-1 capital A with diaeresis
  EXPECT_EQ(section.KeywordByName("\xE4"), nullptr);
  EXPECT_EQ(section.KeywordByName("\xC4"), umlaut);
  CzemKeyword* bracket = addKeyword(section, "[");
  EXPECT_EQ(section.KeywordByName("{"), nullptr);  // '[' + 32 is '{': only letters fold
  EXPECT_EQ(section.KeywordByName("["), bracket);
}

TEST(NamedNodes, ManyNamesStayFindableInOrder) {
  // Past a handful of names the index changes its lookup; every name must stay reachable.
  CzemSection section("S");
  for (int round = 1; round <= 3; ++round)
    for (int i = 0; i < 40; ++i) addKeyword(section, ("Key" + std::to_string(i)).c_str());
  EXPECT_EQ(section.GetNoKeywords(), 120);
  for (int i = 0; i < 40; ++i) {
    const std::string folded = "key" + std::to_string(i);
    CzemNode* third = section.KeywordByNameNum(folded.c_str(), 3);
    ASSERT_NE(third, nullptr) << folded;
    EXPECT_EQ(third, section.KeywordByNum(static_cast<unsigned>(80 + i + 1)));
    EXPECT_EQ(third->GetInstanceNo(), 3u);
    EXPECT_EQ(third->GetNoInstances(), 3);
  }
}

TEST(NamedNodes, CountsAndNumberedLookupsCoverEveryChildKind) {
  CzemTargetList root;
  CzemSection* target = addSection(root, "T");
  CzemKeyword* a = addKeyword(*target, "a");
  CzemSection* sub = addSection(*target, "Sub");
  auto* definition = new CzemDefaultDef("a");
  target->addDefaultDef(definition);
  CzemKeyword* b = addKeyword(*target, "b");
  EXPECT_EQ(target->GetNoKeywords(), 2);
  EXPECT_EQ(target->GetNoSections(), 1);
  EXPECT_EQ(target->GetNoNodes(), 4);
  EXPECT_EQ(target->NodeByNum(1), a);
  EXPECT_EQ(target->NodeByNum(2), sub);
  EXPECT_EQ(target->NodeByNum(3), definition);
  EXPECT_EQ(target->NodeByNum(4), b);
  EXPECT_EQ(target->KeywordByNum(2), b);
  EXPECT_EQ(target->KeywordByNameNum("a", 2), nullptr);  // the definition is in no index
  EXPECT_EQ(definition->parent(), target);

  ReportCapture capture;
  for (unsigned n : {0u, 5u}) EXPECT_EQ(target->NodeByNum(n), nullptr);
  for (unsigned n : {0u, 3u}) EXPECT_EQ(target->KeywordByNum(n), nullptr);
  for (unsigned n : {0u, 2u}) EXPECT_EQ(target->SectionByNum(n), nullptr);
  EXPECT_EQ(root.SectionByNum(1), target);
  EXPECT_EQ(root.SectionByNum(2), nullptr);
  EXPECT_TRUE(capture.reports().empty());
  EXPECT_EQ(root.GetNoInstances(), 0);
}

TEST(NamedNodes, ParametersAreNumberedByPosition) {
  CzemKeyword keyword("k");
  auto* first = new CzemInt(1);
  auto* second = new CzemString("two");
  keyword.addParam(first);
  keyword.addParam(second);
  EXPECT_EQ(first->GetInstanceNo(), 1u);
  EXPECT_EQ(second->GetInstanceNo(), 2u);
  EXPECT_EQ(second->GetNoInstances(), 2);
  EXPECT_EQ(keyword.GetNoParams(), 2);
  EXPECT_EQ(keyword.ParamByNum(2), second);
  EXPECT_EQ(keyword.ParamByNum(0), nullptr);
  EXPECT_EQ(keyword.ParamByNum(3), nullptr);
  CzemInt detached(5);
  EXPECT_EQ(detached.GetNoInstances(), 0);
  CzemKeyword loose("k");
  EXPECT_EQ(loose.GetNoInstances(), 0);
}

TEST(NamedNodes, FullNameIsTheDottedPathBelowTheRoot) {
  CzemTargetList root;
  CzemSection* model = addSection(root, "Model");
  CzemSection* setup = addSection(*model, "Setup");
  CzemKeyword* depth = addKeyword(*setup, "Depth");
  auto* value = new CzemInt(1);
  depth->addParam(value);
  auto* definition = new CzemDefaultDef("Depth");
  setup->addDefaultDef(definition);
  EXPECT_STREQ(root.GetFullName(), "");
  EXPECT_STREQ(model->GetFullName(), "Model");
  EXPECT_STREQ(depth->GetFullName(), "Model.Setup.Depth");
  EXPECT_STREQ(definition->GetFullName(), "");
  EXPECT_STREQ(value->GetFullName(), "");
  EXPECT_EQ(depth->level(), 3);
  setup->setName("Config");
  EXPECT_STREQ(depth->GetFullName(), "Model.Config.Depth");
  CzemSection detached("Alone");
  EXPECT_STREQ(detached.GetFullName(), "");
}
