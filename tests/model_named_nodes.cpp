// Sections, keywords and target lists: instance numbers, folded names, counts,
// lookups by number and name, and dotted full names.
#include "test_support.hpp"

using namespace zem;

namespace {

template <typename Node, typename Parent>
Node* add(Parent& parent, const char* name) {
  auto* node = new Node(name);
  if constexpr (std::is_same_v<Node, CzemKeyword>) parent.addKeyword(node);
  if constexpr (std::is_same_v<Node, CzemSection>) parent.addSection(node);
  return node;
}

TEST(NamedNodes, RepeatedNamesGetInstanceNumbersAndOnlyAsciiLettersFold) {
  CzemSection section("S");
  CzemKeyword* a = add<CzemKeyword>(section, "a");
  CzemKeyword* b = add<CzemKeyword>(section, "b");
  CzemKeyword* a2 = add<CzemKeyword>(section, "A");
  EXPECT_EQ(section.KeywordByNum(3), a2);
  EXPECT_EQ(a2->GetInstanceNo(), 2u);
  EXPECT_EQ(a->GetNoInstances(), 2);
  EXPECT_EQ(b->GetNoInstances(), 1);
  EXPECT_EQ(section.GetNoKeywords(), 3);
  EXPECT_EQ(section.KeywordByNameNum("a", 2), a2);
  for (unsigned n : {0u, 3u}) EXPECT_EQ(section.KeywordByNameNum("A", n), nullptr);
  EXPECT_EQ(section.KeywordByNameNum(nullptr, 1), nullptr);
  CzemKeyword* umlaut = add<CzemKeyword>(section, "\xC4");  // Latin-1 capital A with diaeresis
  EXPECT_EQ(section.KeywordByName("\xE4"), nullptr);
  EXPECT_EQ(section.KeywordByName("\xC4"), umlaut);
  CzemKeyword* bracket = add<CzemKeyword>(section, "[");
  EXPECT_EQ(section.KeywordByName("{"), nullptr);  // '[' + 32 is '{'
  EXPECT_EQ(section.KeywordByName("["), bracket);

  CzemTargetList root;
  CzemSection* empty = add<CzemSection>(root, "");
  CzemSection* blank = add<CzemSection>(root, " ");
  EXPECT_EQ(blank->GetInstanceNo(), 2u);  // an empty name and a single blank are namesakes
  EXPECT_EQ(root.SectionByName(" "), empty);
  EXPECT_EQ(root.SectionByNameNum("  ", 1), nullptr);
  EXPECT_EQ(root.GetNoInstances(), 0);
}

TEST(NamedNodes, ManyNamesStayFindableInOrder) {
  // Past a handful of names the index changes its lookup; every name must stay reachable.
  CzemSection section("S");
  for (int round = 1; round <= 3; ++round)
    for (int i = 0; i < 40; ++i) add<CzemKeyword>(section, ("Key" + std::to_string(i)).c_str());
  EXPECT_EQ(section.GetNoKeywords(), 120);
  for (int i = 0; i < 40; ++i) {
    CzemNode* third = section.KeywordByNameNum(("key" + std::to_string(i)).c_str(), 3);
    EXPECT_EQ(third, section.KeywordByNum(static_cast<unsigned>(80 + i + 1))) << i;
    EXPECT_EQ(third->GetNoInstances(), 3);
  }
}

TEST(NamedNodes, CountsAndNumberedLookupsCoverEveryChildKindSilently) {
  Reports reports;
  CzemTargetList root;
  CzemSection* target = add<CzemSection>(root, "T");
  CzemKeyword* a = add<CzemKeyword>(*target, "a");
  CzemSection* sub = add<CzemSection>(*target, "Sub");
  auto* definition = new CzemDefaultDef("a");
  target->addDefaultDef(definition);
  CzemKeyword* b = add<CzemKeyword>(*target, "b");
  EXPECT_EQ(target->GetNoKeywords(), 2);
  EXPECT_EQ(target->GetNoNodes(), 4);
  EXPECT_EQ(target->NodeByNum(2), sub);
  EXPECT_EQ(target->NodeByNum(3), definition);
  EXPECT_EQ(target->NodeByNum(4), b);
  EXPECT_EQ(target->KeywordByNum(2), b);
  EXPECT_EQ(target->KeywordByNameNum("a", 2), nullptr);  // the definition is in no index
  EXPECT_EQ(definition->parent(), target);
  for (unsigned n : {0u, 5u}) EXPECT_EQ(target->NodeByNum(n), nullptr);
  for (unsigned n : {0u, 3u}) EXPECT_EQ(target->KeywordByNum(n), nullptr);
  for (unsigned n : {0u, 2u}) EXPECT_EQ(target->SectionByNum(n), nullptr);

  auto* second = new CzemString("two");
  a->addParam(new CzemInt(1));
  a->addParam(second);
  EXPECT_EQ(second->GetInstanceNo(), 2u);
  EXPECT_EQ(second->GetNoInstances(), 2);
  EXPECT_EQ(a->ParamByNum(2), second);
  for (unsigned n : {0u, 3u}) EXPECT_EQ(a->ParamByNum(n), nullptr);
  EXPECT_EQ(CzemInt(5).GetNoInstances(), 0);
  EXPECT_EQ(CzemKeyword("k").GetNoInstances(), 0);
  reports.expect(0, {});
}

TEST(NamedNodes, FullNameIsTheDottedPathBelowTheRoot) {
  CzemTargetList root;
  CzemSection* model = add<CzemSection>(root, "Model");
  CzemSection* setup = add<CzemSection>(*model, "Setup");
  CzemKeyword* depth = add<CzemKeyword>(*setup, "Depth");
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
  EXPECT_STREQ(CzemSection("Alone").GetFullName(), "");
}

}  // namespace
