// The node model: the base interface for unsupported operations, syntax classes and visiting order; sections,
// keywords and target lists with their instance numbers, folded names, counts and full names; default resolution.
#include <memory>

#include "model/value_factory.hpp"
#include "test_support.hpp"

using namespace zem;

namespace {

// The abstract levels of the hierarchy answer with their own syntax class.
template <typename Base>
struct Plain : Base {
  CzemNode* NewEmpty() const override { return new Plain(); }
};

template <typename Node, typename Parent>
Node* add(Parent& parent, const char* name) {
  auto* node = new Node(name);
  if constexpr (std::is_same_v<Node, CzemKeyword>) parent.addKeyword(node);
  if constexpr (std::is_same_v<Node, CzemSection>) parent.addSection(node);
  if constexpr (std::is_same_v<Node, CzemDefaultDef>) parent.addDefaultDef(node);
  return node;
}

// Adds "default (name) = v, ..." where 0 stands for an empty place.
CzemDefaultDef* addDefaults(CzemSection& section, const char* name, std::initializer_list<int> values) {
  auto* definition = add<CzemDefaultDef>(section, name);
  for (int v : values) definition->addParam(v == 0 ? static_cast<CzemNode*>(new CzemDefaultPar()) : new CzemInt(v));
  return definition;
}

// Adds "name = , , ..." with `places` placeholders.
CzemKeyword* addPlaceholders(CzemSection& section, const char* name, int places) {
  auto* keyword = add<CzemKeyword>(section, name);
  for (int i = 0; i < places; ++i) keyword->addParam(new CzemDefaultPar());
  return keyword;
}

}  // namespace

TEST(NodeInterface, UnsupportedOperationsReportOnceEachAndYieldNeutralValues) {
  CzemString text("abc");
  CzemInt number(4);
  CzemBool flag(1);
  CzemKeyword keyword("k");
  CzemTargetList root;
  Reports reports;
  EXPECT_EQ(text.GetInt(), 0);
  reports.expect(0, {"Function invalid in this context"});
  EXPECT_STREQ(number.GetString(), "");
  EXPECT_EQ((std::tuple{flag.GetDouble(), flag.GetFloat(), text.GetBool()}), std::tuple(0.0, 0.0f, 0));
  EXPECT_EQ((std::vector<const void*>{number.GetFilename(), number.GetFilenameString(), keyword.SectionByNum(1),
                                      root.KeywordByNum(1), root.KeywordByNameNum("k", 1), number.ParamByNum(1),
                                      keyword.SectionByName("s")}),
            std::vector<const void*>(7, nullptr));
  reports.expect(0, Texts(11, "Function invalid in this context"));
  EXPECT_EQ(number.NodeByNum(1), nullptr);  // silent
}

TEST(NodeInterface, EveryClassHasItsSyntaxClassAndMakesEmptyNodesOfItsOwnClass) {
  std::pair<CzemNode*, int> classes[] = {
      {new Plain<CzemNamedNode>(), 0}, {new CzemTargetList(), 1}, {new CzemSection(), 2},
      {new CzemKeyword(), 3},          {new CzemDefaultDef(), 4}, {new Plain<CzemParam>(), 5},
      {new Plain<CzemNumeric>(), 5},   {new CzemInt(), 6},        {new CzemIntDef(), 6},
      {new CzemIntRef(), 6},           {new CzemReal(), 7},       {new CzemFloat(), 7},
      {new CzemFloatDef(), 7},         {new CzemFloatRef(), 7},   {new CzemDouble(), 7},
      {new CzemDoubleDef(), 7},        {new CzemDoubleRef(), 7},  {new CzemBool(), 8},
      {new CzemBoolRef(), 8},          {new CzemString(), 9},     {new CzemDateTime(), 10},
      {new CzemDefaultPar(), 11},      {new CzemSubstit(), 12},   {new CzemUnknown(), 14},
      {new CzemUndefinedPar(), 15}};
  for (auto& [raw, code] : classes) {
    std::unique_ptr<CzemNode> node(raw), fresh(raw->NewEmpty());
    EXPECT_EQ((std::pair{node->GetSyntaxClass(), fresh->GetSyntaxClass()}), std::pair(code, code))
        << typeid(*node).name();
    EXPECT_EQ(typeid(*fresh), typeid(*node));
    EXPECT_EQ(node->isKeywordNode(), node->IsKeyword() != 0) << typeid(*node).name();
  }
  EXPECT_EQ(CzemStringRef().GetSyntaxClass(), 9);
  EXPECT_EQ(std::unique_ptr<CzemNode>(makeFilenameValue("in.txt"))->GetSyntaxClass(), 10);  // as date-times
}

TEST(NamedNodes, RepeatedNamesGetInstanceNumbersAndOnlyAsciiLettersFold) {
  CzemSection section("S");
  CzemKeyword* a = add<CzemKeyword>(section, "a");
  CzemKeyword* b = add<CzemKeyword>(section, "b");
  CzemKeyword* a2 = add<CzemKeyword>(section, "A");
  EXPECT_EQ(std::pair(a2->GetInstanceNo(), a->GetNoInstances() + b->GetNoInstances()), std::pair(2u, 3));
  CzemKeyword* umlaut = add<CzemKeyword>(section, "\xC4");  // Latin-1 capital A with diaeresis
  CzemKeyword* bracket = add<CzemKeyword>(section, "[");    // '[' + 32 is '{'
  EXPECT_EQ((std::vector<CzemNode*>{section.KeywordByNum(3), section.KeywordByNameNum("A", 0),
                                    section.KeywordByNameNum("A", 3), section.KeywordByNameNum(nullptr, 1),
                                    section.KeywordByName("\xE4"), section.KeywordByName("\xC4"),
                                    section.KeywordByName("{"), section.KeywordByName("[")}),
            (std::vector<CzemNode*>{a2, nullptr, nullptr, nullptr, nullptr, umlaut, nullptr, bracket}));
  CzemTargetList root;  // an empty name and a single blank are namesakes
  CzemSection* empty = add<CzemSection>(root, "");
  CzemSection* blank = add<CzemSection>(root, " ");
  EXPECT_EQ(std::tuple(blank->GetInstanceNo(), root.SectionByName(" "), root.SectionByNameNum("  ", 1),
                       root.GetNoInstances()),
            std::tuple(2u, static_cast<CzemNode*>(empty), static_cast<CzemNode*>(nullptr), 0));
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
  auto* definition = add<CzemDefaultDef>(*target, "a");
  CzemKeyword* b = add<CzemKeyword>(*target, "b");
  EXPECT_EQ(std::pair(target->GetNoKeywords(), target->GetNoNodes()), std::pair(2, 4));
  EXPECT_EQ((std::vector<CzemNode*>{target->NodeByNum(2), target->NodeByNum(3), target->NodeByNum(4),
                                    target->KeywordByNum(2)}),
            (std::vector<CzemNode*>{sub, definition, b, b}));
  EXPECT_EQ(definition->parent(), target);
  a->addParam(new CzemInt(1));
  // The definition is in no index; numbers start at 1 and end at the count.
  EXPECT_EQ((std::vector<CzemNode*>{target->KeywordByNameNum("a", 2), target->NodeByNum(0), target->NodeByNum(5),
                                    target->KeywordByNum(0), target->KeywordByNum(3), target->SectionByNum(0),
                                    target->SectionByNum(2), a->ParamByNum(0), a->ParamByNum(2)}),
            std::vector<CzemNode*>(9, nullptr));
  EXPECT_EQ(CzemInt(5).GetNoInstances() + CzemKeyword("k").GetNoInstances(), 0);
}

TEST(NamedNodes, FullNameIsTheDottedPathBelowTheRoot) {
  CzemTargetList root;
  CzemSection* model = add<CzemSection>(root, "Model");
  CzemSection* setup = add<CzemSection>(*model, "Setup");
  CzemKeyword* depth = add<CzemKeyword>(*setup, "Depth");
  auto* value = new CzemInt(1);
  depth->addParam(value);
  auto* definition = add<CzemDefaultDef>(*setup, "Depth");
  EXPECT_EQ((Texts{root.GetFullName(), model->GetFullName(), depth->GetFullName(), definition->GetFullName(),
                   value->GetFullName()}),
            (Texts{"", "Model", "Model.Setup.Depth", "", ""}));
  setup->setName("Config");
  // Each node's answer stays until its own next request, beside an auxiliary text too.
  const char* path = depth->GetFullName();
  depth->setAuxText("unit");
  EXPECT_EQ((Texts{setup->GetFullName(), path, depth->GetName(), std::string(depth->auxText()),
                   CzemSection("Alone").GetFullName()}),
            (Texts{"Model.Config", "Model.Config.Depth", "Depth", "unit", ""}));
}

// Places that do not fit the one-word form keep a record of their own; setting a
// fitting place again gives it back.
TEST(NamedNodes, SourcePlacesReadBackAsSetWhateverTheirSize) {
  constexpr std::uint32_t kLine = (1u << 26) - 1, kColumn = (1u << 9) - 1, kFar = (1u << 14) - 1;
  const SourceSpan cases[] = {{{1, 1}, {1, 2}},
                              {{kLine, kColumn}, {kLine + kFar, kFar}},
                              {{kLine + 1, 1}, {kLine + 1, 5}},
                              {{3, kColumn + 1}, {3, 600}},
                              {{3, 1}, {3 + kFar + 1, 1}},
                              {{3, 1}, {3, kFar + 1}},
                              {{9, 4}, {8, 1}},
                              {{9, 4}, {0, 0}}};
  for (const SourceSpan& span : cases) {
    CzemKeyword keyword("k");
    keyword.setSpanStart(span.start);
    keyword.setSpanEnd(span.end);
    const SourceSpan got = keyword.sourceSpan();
    EXPECT_EQ((std::vector{got.start.line, got.start.column, got.end.line, got.end.column}),
              (std::vector{span.start.line, span.start.column, span.end.line, span.end.column}))
        << span.start.line << ':' << span.start.column;
    keyword.setSpanEnd({span.start.line, span.start.column + 1});
    keyword.setSpanStart({2, 2});
    keyword.setSpanEnd({2, 3});
    EXPECT_EQ(keyword.sourceSpan().end.column, 3u);
  }
  EXPECT_EQ(CzemKeyword("k").sourceSpan().start.line, 0u);
}

TEST(Defaults, FirstMatchingDefinitionBeforeTheKeywordDecidesSearchingOutwardUpToTheTarget) {
  CzemTargetList root;
  auto* target = add<CzemSection>(root, "Target");
  CzemDefaultDef* first = addDefaults(*target, "DEPTH", {1, 0});
  addDefaults(*target, "depth", {3, 4, 5});
  CzemKeyword* depth = addPlaceholders(*target, "Depth", 3);
  addDefaults(*target, "depth", {9, 9, 9});  // after the keyword: does not count
  // The second place is left empty by the first definition, which has no third value.
  EXPECT_EQ((std::vector{depth->ParamByNum(1), depth->ParamByNum(2), depth->ParamByNum(3)}),
            (std::vector{first->NodeByNum(1), depth->NodeByNum(2), depth->NodeByNum(3)}));

  addDefaults(*target, "k", {7, 8});
  auto* outer = add<CzemSection>(*target, "Outer");
  addDefaults(*outer, "k", {0, 6});
  auto* inner = add<CzemSection>(*outer, "Inner");
  CzemKeyword* k = addPlaceholders(*inner, "k", 2);
  // The first place is empty in Outer and found in Target; the nearer section answers first; a keyword passes
  // the question outward.
  EXPECT_EQ((std::vector{k->ParamByNum(1)->GetInt(), k->ParamByNum(2)->GetInt(),
                         k->FindDefault(k->NodeByNum(2), "k", 2)->GetInt()}),
            (std::vector{7, 6, 6}));

  auto* stray = new CzemDefaultDef("k");
  stray->addParam(new CzemInt(1));
  root.appendChild(stray);
  auto* later = add<CzemSection>(root, "Later");
  CzemKeyword* unresolved = addPlaceholders(*later, "k", 1);
  EXPECT_EQ(unresolved->ParamByNum(1), unresolved->NodeByNum(1));
}

// Texts of every form read back whole and zero-terminated through changes of form,
// with the companions beside them coming and going.
TEST(NamedNodes, TextsKeepTheirBytesAcrossEveryForm) {
  const std::string samples[] = {
      "", "a", std::string(14, 'b'), std::string(15, 'c'), std::string(16, 'd'), std::string(40, 'e')};
  for (const std::string& first : samples) {
    for (const std::string& second : samples) {
      Text text(first);
      EXPECT_EQ(std::string(text.c_str()), first);
      text.setAux("aux");
      EXPECT_STREQ(text.setNote(text.view()), first.c_str());
      text.clearAux();
      EXPECT_FALSE(text.hasAux());
      text.assign(second);
      text.clearNote();
      EXPECT_EQ(std::string(text.c_str()), second);
      EXPECT_EQ(text.size(), second.size());
      text.assign(text.view().substr(text.size() / 2));  // from its own bytes
      EXPECT_EQ(text.view(), std::string_view(second).substr(second.size() / 2));
      EXPECT_FALSE(text.ownsMemory() && text.size() <= Text::kInlineMax);
    }
  }
}
