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

TEST(Defaults, FirstMatchingDefinitionBeforeTheKeywordDecides) {
  CzemTargetList root;
  CzemSection& target = *new CzemSection("Target");
  root.addSection(&target);
  CzemDefaultDef* first = addDefaults(target, "DEPTH", {1, 0});
  addDefaults(target, "depth", {3, 4, 5});
  CzemKeyword* k = addPlaceholders(target, "Depth", 3);
  addDefaults(target, "depth", {9, 9, 9});  // after the keyword: does not count
  EXPECT_EQ(k->ParamByNum(1), first->NodeByNum(1));
  EXPECT_EQ(k->ParamByNum(2), k->NodeByNum(2));  // left empty by the first definition
  EXPECT_EQ(k->ParamByNum(3), k->NodeByNum(3));  // the first definition has no third value
}

TEST(Defaults, SearchClimbsToEnclosingSectionsButNeverIntoTheRootList) {
  CzemTargetList root;
  auto* target = new CzemSection("Target");
  root.addSection(target);
  addDefaults(*target, "k", {7, 8});
  auto* outer = new CzemSection("Outer");
  target->addSection(outer);
  addDefaults(*outer, "k", {0, 6});
  auto* inner = new CzemSection("Inner");
  outer->addSection(inner);
  CzemKeyword* k = addPlaceholders(*inner, "k", 2);
  EXPECT_EQ(k->ParamByNum(1)->GetInt(), 7);                         // empty in Outer, found in Target
  EXPECT_EQ(k->ParamByNum(2)->GetInt(), 6);                         // the nearer section answers first
  EXPECT_EQ(k->FindDefault(k->NodeByNum(2), "k", 2)->GetInt(), 6);  // a keyword passes the question outward
  CzemSection detached("S");
  EXPECT_EQ(detached.FindDefault(k, "k", 1), nullptr);  // k is not its child and it has no parent

  auto* stray = new CzemDefaultDef("k");
  stray->addParam(new CzemInt(1));
  root.appendChild(stray);
  auto* later = new CzemSection("Later");
  root.addSection(later);
  CzemKeyword* unresolved = addPlaceholders(*later, "k", 1);
  EXPECT_EQ(unresolved->ParamByNum(1), unresolved->NodeByNum(1));
}

}  // namespace
