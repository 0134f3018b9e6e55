// The node interface as the base class answers it for unsupported operations,
// the syntax class codes and the visiting order.
#include <memory>

#include "test_support.hpp"

using namespace zem;

namespace {

// The abstract levels of the hierarchy answer with their own syntax class.
class PlainNamedNode : public CzemNamedNode {
 public:
  CzemNode* NewEmpty() const override { return new PlainNamedNode(); }
};
class PlainParam : public CzemParam {
 public:
  CzemNode* NewEmpty() const override { return new PlainParam(); }
};
class PlainNumeric : public CzemNumeric {
 public:
  CzemNode* NewEmpty() const override { return new PlainNumeric(); }
};

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
  EXPECT_EQ(flag.GetDouble(), 0.0);
  EXPECT_EQ(flag.GetFloat(), 0.0f);
  EXPECT_EQ(text.GetBool(), 0);
  EXPECT_EQ(number.GetFilename(), nullptr);
  EXPECT_EQ(number.GetFilenameString(), nullptr);
  EXPECT_EQ(keyword.SectionByNum(1), nullptr);
  EXPECT_EQ(root.KeywordByNum(1), nullptr);
  EXPECT_EQ(root.KeywordByNameNum("k", 1), nullptr);
  EXPECT_EQ(number.ParamByNum(1), nullptr);
  EXPECT_EQ(keyword.SectionByName("s"), nullptr);
  reports.expect(0, Texts(11, "Function invalid in this context"));
  EXPECT_EQ(number.NodeByNum(1), nullptr);  // silent
  reports.expect(0, {});
}

TEST(NodeInterface, EveryClassHasItsSyntaxClassAndMakesEmptyNodesOfItsOwnClass) {
  std::pair<CzemNode*, int> classes[] = {
      {new PlainNamedNode(), 0},   {new CzemTargetList(), 1},  {new CzemSection(), 2},  {new CzemKeyword(), 3},
      {new CzemDefaultDef(), 4},   {new PlainParam(), 5},      {new PlainNumeric(), 5}, {new CzemInt(), 6},
      {new CzemIntDef(), 6},       {new CzemIntRef(), 6},      {new CzemReal(), 7},     {new CzemFloat(), 7},
      {new CzemFloatDef(), 7},     {new CzemFloatRef(), 7},    {new CzemDouble(), 7},   {new CzemDoubleDef(), 7},
      {new CzemDoubleRef(), 7},    {new CzemBool(), 8},        {new CzemBoolRef(), 8},  {new CzemString(), 9},
      {new CzemDateTime(), 10},    {new CzemDefaultPar(), 11}, {new CzemSubstit(), 12}, {new CzemUnknown(), 14},
      {new CzemUndefinedPar(), 15}};
  for (auto& [raw, code] : classes) {
    std::unique_ptr<CzemNode> node(raw), fresh(raw->NewEmpty());
    EXPECT_EQ(node->GetSyntaxClass(), code) << typeid(*node).name();
    EXPECT_EQ(typeid(*fresh), typeid(*node));
  }
  EXPECT_EQ(CzemStringRef().GetSyntaxClass(), 9);
}

TEST(NodeInterface, VisitGoesInFileOrderAndSkipsTheRoot) {
  void* handle =
      loadDocument("[First] a = 'a1', 'a2'  [Sub] b = 'b1' EndSect  default (d) = 'd1' EndSect  [Second] EndSect");
  Texts seen;
  const Visitor record{
      [](CzemNode* node, void* out) {
        static_cast<Texts*>(out)->push_back(node->IsParam() != 0 ? node->GetString() : node->GetName());
      },
      &seen};
  asNode(zemGetRoot(handle))->Visit(record);
  EXPECT_EQ(seen, (Texts{"First", "a", "a1", "a2", "Sub", "b", "b1", "d", "d1", "Second"}));
  seen.clear();
  asNode(zemFindSectionByHandle(handle, "First/Sub"))->Visit(record);
  EXPECT_EQ(seen, (Texts{"Sub", "b", "b1"}));
  zemClose(&handle);
}

}  // namespace
