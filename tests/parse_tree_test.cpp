#include "test_support.hpp"

using namespace zem;

namespace {

// A loaded document that closes itself.
struct Loaded {
  Loaded(const std::string& name, const std::string& text)
      : handle(zem_test::loadText(name, text)), code(zemGetErrorGlb()) {}
  CzemTargetList* root() const { return zem_test::rootOf(handle); }
  CzemNode* section(const char* name, unsigned n = 1) const { return root()->SectionByNameNum(name, n); }
  Handle handle;
  const int code;
};

std::string valueText(CzemNode* node) {
  auto* param = dynamic_cast<CzemParam*>(node);
  return param != nullptr ? std::string(param->valueText().view()) : "<not a parameter>";
}

// A named node as "name", "+" when it may repeat, "d" for a default definition and "{aux}" for its
// braced note; a section adds its keyword count and its children, a keyword its values' classes.
std::string shapeOf(CzemNode* node) {
  auto* named = static_cast<CzemNamedNode*>(node);
  const bool section = node->GetSyntaxClass() == kSynSection;
  std::string out = std::string(named->GetName()) +
                    (named->flags() == kMayRepeat ? "+"
                     : named->flags() != 0        ? "?"
                                                  : "") +
                    (node->IsDefaultDef() != 0 ? "d" : "") + "{" + std::string(node->auxText()) + "}";
  if (section) out += " " + std::to_string(node->GetNoKeywords()) + ":";
  for (int i = 1; i <= node->GetNoNodes(); ++i)
    out += " " + (section ? shapeOf(node->NodeByNum(i)) : std::to_string(node->NodeByNum(i)->GetSyntaxClass()));
  return out;
}

}  // namespace

TEST(ParseTree, ValueClassFollowsTheLiteralToken) {
  Loaded doc("classes.txt",
             "[A]\n k = 7, -0.5e3 {unit}, TRUE, 'it''s', #2020-01-02#, %3, %name, {only aux}, +5, - 2.0, False,"
             " '<clob:1, \"a\">', |data\\in.txt|, \nEndSect");
  ASSERT_EQ(doc.code, 0);
  CzemNode* k = doc.section("A")->KeywordByNameNum("k", 1);
  // Date-times share the file-name class; a sign stays in the value text, also when blanks stand
  // between it and the number. The export also gives a braced text alone and a CLOB's items.
  // clang-format off
  const struct {
    int syntaxClass;
    const char* text;
    const char* aux;
    const char* exported = nullptr;  // the export's text where it differs
  } expected[] = {{kSynInt, "7", ""}, {kSynReal, "-0.5e3", "unit"}, {kSynBool, "TRUE", ""}, {kSynString, "it's", ""},
                  {kSynFilename, "2020-01-02", ""}, {kSynSubstit, "3", ""}, {kSynSubstit, "name", ""},
                  {kSynUnknown, "", "only aux", "only aux"}, {kSynInt, "+5", ""}, {kSynReal, "-2.0", ""},
                  {kSynBool, "False", ""}, {kSynParam, "1, \"a\"", ""}, {kSynFilename, "data\\in.txt", ""},
                  {kSynUndefinedPar, "", ""}};
  // clang-format on
  ASSERT_EQ(k->GetNoParams(), static_cast<int>(std::size(expected)));
  for (int i = 0; i < k->GetNoParams(); ++i) {
    SCOPED_TRACE(i + 1);
    CzemNode* param = k->ParamByNum(i + 1);
    EXPECT_EQ(param->GetSyntaxClass(), expected[i].syntaxClass);
    EXPECT_EQ(valueText(param), expected[i].text);
    EXPECT_EQ(param->auxText(), expected[i].aux);
    const char* exported = expected[i].exported;
    EXPECT_STREQ(zemGetValueText(asVoid(param)), exported != nullptr ? exported : expected[i].text);
  }
  EXPECT_EQ((std::vector{k->ParamByNum(1)->GetInt(), k->ParamByNum(3)->GetBool(), k->ParamByNum(9)->GetInt(),
                         k->ParamByNum(11)->GetBool(), zemGetClobInt(asVoid(k->ParamByNum(12)))}),
            (std::vector{7, 1, 5, 0, 1}));  // reading the CLOB's text did not move its cursor
  EXPECT_EQ(
      dynamic_cast<CzemFloat*>(k->ParamByNum(2)) == nullptr && dynamic_cast<CzemDouble*>(k->ParamByNum(2)) == nullptr,
      true);
  EXPECT_DOUBLE_EQ(k->ParamByNum(2)->GetDouble(), -500.0);
  EXPECT_STREQ(k->ParamByNum(4)->GetString(), "it's");
  EXPECT_NE(dynamic_cast<CzemDateTime*>(k->ParamByNum(5)), nullptr);
}

TEST(ParseTree, EmptyPlacesBracedNotesAndTemplateMarksShowInTheTree) {
  const std::pair<const char*, const char*> cases[] = {
      // Every empty place is a parameter; default definitions are children but not keywords.
      {"[A]\n a =\n b = 1,,2\n c = 1,\n d = ,\n default (a) = , 4\n default (b) =\nEndSect",
       "A{} 4: a{} 15 b{} 6 15 6 c{} 6 15 d{} 15 15 ad{} 11 6 bd{} 11"},
      {"[A] {sec\ntion} k {key} = 1 default (k) {def} = 2 EndSect", "A{section} 1: k{key} 6 kd{def} 6"},
      {"[S()] k() = 1 () = 2 default () = 3 default (k) = 4 plain = 5 EndSect",
       "S+{} 3: k+{} 6 +{} 6 +d{} 6 kd{} 6 plain{} 6"},
  };
  for (const auto& [text, shape] : cases) {
    Loaded doc("shape.txt", text);
    ASSERT_EQ(doc.code, 0) << text;
    EXPECT_EQ(shapeOf(doc.root()->SectionByNum(1)), shape);
  }
  for (const char* text : {"", "  \r\n\t", "; nothing\n/* at /* all */ */ // here"}) {
    Loaded doc("empty.txt", text);
    EXPECT_EQ(std::pair(doc.code, doc.root() != nullptr ? doc.root()->GetNoNodes() : -1), std::pair(0, 0)) << text;
  }
}
