// The node interface as the base class answers it for unsupported operations,
// the syntax class codes and the visiting order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/named_nodes.hpp"
#include "model/values.hpp"
#include "vox_capture.hpp"

using namespace zem;

namespace {

using Texts = std::vector<std::string>;
const Texts kOneInvalidContext{"Function invalid in this context"};

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

}  // namespace

TEST(NodeInterface, GetterOfAnotherTypeReportsOnceAndYieldsNeutralValue) {
  CzemString text("abc");
  CzemInt number(4);
  CzemBool flag(1);
  {
    ReportCapture capture;
    EXPECT_EQ(text.GetInt(), 0);
    EXPECT_EQ(capture.texts(), kOneInvalidContext);
    EXPECT_EQ(zemPeekErrorGlb(), 0);
  }
  {
    ReportCapture capture;
    EXPECT_STREQ(number.GetString(), "");
    EXPECT_EQ(capture.texts(), kOneInvalidContext);
  }
  {
    ReportCapture capture;
    EXPECT_EQ(flag.GetDouble(), 0.0);
    EXPECT_EQ(flag.GetFloat(), 0.0f);
    EXPECT_EQ(text.GetBool(), 0);
    EXPECT_EQ(number.GetFilename(), nullptr);
    EXPECT_EQ(number.GetFilenameString(), nullptr);
    EXPECT_EQ(capture.texts().size(), 5u);
    EXPECT_EQ(zemPeekErrorGlb(), 0);
  }
}

TEST(NodeInterface, NodeByNumOnAValueIsSilentButSectionByNumReports) {
  CzemInt number(1);
  CzemKeyword keyword("k");
  CzemTargetList root;
  ReportCapture capture;
  EXPECT_EQ(number.NodeByNum(1), nullptr);
  EXPECT_TRUE(capture.reports().empty());
  EXPECT_EQ(keyword.SectionByNum(1), nullptr);
  EXPECT_EQ(capture.texts(), kOneInvalidContext);
  capture.clear();
  EXPECT_EQ(root.KeywordByNum(1), nullptr);
  EXPECT_EQ(root.KeywordByNameNum("k", 1), nullptr);
  EXPECT_EQ(number.ParamByNum(1), nullptr);
  EXPECT_EQ(keyword.SectionByName("s"), nullptr);
  EXPECT_EQ(capture.texts().size(), 4u);
  EXPECT_EQ(zemPeekErrorGlb(), 0);
}

TEST(NodeInterface, EveryClassHasItsSyntaxClass) {
  std::vector<std::pair<std::unique_ptr<CzemNode>, int>> nodes;
  auto add = [&](CzemNode* node, int code) { nodes.emplace_back(node, code); };
  add(new PlainNamedNode(), 0);
  add(new CzemTargetList(), 1);
  add(new CzemSection(), 2);
  add(new CzemKeyword(), 3);
  add(new CzemDefaultDef(), 4);
  add(new PlainParam(), 5);
  add(new PlainNumeric(), 5);
  add(new CzemInt(), 6);
  add(new CzemIntDef(), 6);
  add(new CzemIntRef(), 6);
  add(new CzemReal(), 7);
  add(new CzemFloat(), 7);
  add(new CzemFloatDef(), 7);
  add(new CzemFloatRef(), 7);
  add(new CzemDouble(), 7);
  add(new CzemDoubleDef(), 7);
  add(new CzemDoubleRef(), 7);
  add(new CzemBool(), 8);
  add(new CzemBoolRef(), 8);
  add(new CzemString(), 9);
  add(new CzemStringRef(), 9);
  add(new CzemDateTime(), 10);
  add(new CzemDefaultPar(), 11);
  add(new CzemSubstit(), 12);
  add(new CzemUnknown(), 14);
  add(new CzemUndefinedPar(), 15);
  for (auto& [node, code] : nodes) {
    EXPECT_EQ(node->GetSyntaxClass(), code) << typeid(*node).name();
    std::unique_ptr<CzemNode> fresh(node->NewEmpty());
    if (dynamic_cast<CzemStringRef*>(node.get()) == nullptr) {
      EXPECT_EQ(typeid(*fresh), typeid(*node));
    }
  }
}

TEST(NodeInterface, VisitGoesInFileOrderAndSkipsTheRoot) {
  CzemTargetList root;
  auto* first = new CzemSection("First");
  root.addSection(first);
  auto* a = new CzemKeyword("a");
  first->addKeyword(a);
  a->addParam(new CzemString("a1"));
  a->addParam(new CzemString("a2"));
  auto* sub = new CzemSection("Sub");
  first->addSection(sub);
  auto* b = new CzemKeyword("b");
  sub->addKeyword(b);
  b->addParam(new CzemString("b1"));
  auto* definition = new CzemDefaultDef("d");
  first->addDefaultDef(definition);
  definition->addParam(new CzemString("d1"));
  root.addSection(new CzemSection("Second"));

  std::vector<std::string> seen;
  const Visitor record{[](CzemNode* node, void* context) {
                         auto* out = static_cast<std::vector<std::string>*>(context);
                         out->push_back(node->IsParam() != 0 ? node->GetString() : node->GetName());
                       },
                       &seen};
  root.Visit(record);
  EXPECT_EQ(seen, (Texts{"First", "a", "a1", "a2", "Sub", "b", "b1", "d", "d1", "Second"}));
  seen.clear();
  sub->Visit(record);
  EXPECT_EQ(seen, (Texts{"Sub", "b", "b1"}));
}
