// CopyFrom assigns a source of the same class into an existing node; fresh
// copies come from NewEmpty.
#include <memory>

#include "test_support.hpp"

using namespace zem;

TEST(Copy, SourceOfAnotherClassChangesNothing) {
  CzemInt target(7);
  target.setAuxText("{mine}");
  CzemDouble other(2.5);
  target.CopyFrom(&other);
  EXPECT_EQ(target.GetInt(), 7);
  EXPECT_EQ(target.IsDouble(), 0);
  EXPECT_EQ(target.auxText(), "{mine}");
  other.CopyFrom(&target);
  EXPECT_EQ(other.GetDouble(), 2.5);
  CzemKeyword keyword("k");
  CzemSection section("S");
  section.CopyFrom(&keyword);
  EXPECT_STREQ(section.GetName(), "S");
}

TEST(Copy, IntegerCopiesViewsTextAndAuxiliaryTextButNotPlace) {
  bool ok = false;
  std::unique_ptr<CzemInt> source(CzemInt::fromText("42", ok));
  source->setAuxText("{note}");
  CzemKeyword to("to");
  to.addParam(new CzemInt(1));
  auto* target = new CzemInt(3);
  to.addParam(target);
  target->CopyFrom(source.get());
  EXPECT_EQ(target->GetInt(), 42);
  EXPECT_EQ(target->GetDouble(), 42.0);
  EXPECT_EQ(target->GetFloat(), 42.0f);
  EXPECT_EQ(target->IsInt() + target->IsDouble() + target->IsFloat(), 3);
  EXPECT_EQ(target->valueText().view(), "42");
  EXPECT_EQ(target->auxText(), "{note}");
  EXPECT_EQ(target->GetInstanceNo(), 0u);
  EXPECT_EQ(target->parent(), &to);
  CzemInt built(5);  // a built integer brings its missing views along
  target->CopyFrom(&built);
  EXPECT_EQ(target->GetInt(), 5);
  EXPECT_EQ(target->IsDouble() + target->IsFloat(), 0);
  EXPECT_TRUE(target->valueText().empty());
}

TEST(Copy, BuiltDoubleGetsAValueText) {
  const std::pair<double, const char*> cases[] = {
      {5.0, "5.0"}, {0.1, "0.1"}, {-2147483648.0, "-2147483648.0"}, {1e10, "10000000000"}, {-0.25, "-0.25"}};
  for (const auto& [value, text] : cases) {
    CzemDouble source(value);
    CzemDouble intoDouble;
    intoDouble.CopyFrom(&source);
    EXPECT_EQ(intoDouble.valueText().view(), text) << value;
    EXPECT_EQ(intoDouble.GetDouble(), value);
    CzemReal intoReal;
    intoReal.CopyFrom(&source);
    EXPECT_EQ(intoReal.valueText().view(), text) << value;
  }
  CzemFloat fromFloat(2.5f);
  CzemReal real;
  real.CopyFrom(&fromFloat);
  EXPECT_TRUE(real.valueText().empty());
  EXPECT_EQ(real.GetDouble(), 2.5);
}

TEST(Copy, RefCopiesKeepTheBindingButStringRefCopiesAreUnboundPlainStrings) {
  int variable = 12;
  CzemIntRef bound(&variable);
  std::unique_ptr<CzemNode> fresh(bound.NewEmpty());
  EXPECT_EQ(fresh->IsInt(), 0);
  fresh->CopyFrom(&bound);
  variable = 13;
  EXPECT_EQ(fresh->GetInt(), 13);
  const char* text = "abc";
  CzemStringRef boundText(&text);
  std::unique_ptr<CzemNode> freshText(boundText.NewEmpty());
  EXPECT_EQ(typeid(*freshText), typeid(CzemString));
  freshText->CopyFrom(&boundText);
  EXPECT_STREQ(freshText->GetString(), "");
  CzemStringRef other;
  other.CopyFrom(&boundText);
  EXPECT_STREQ(other.GetString(), "abc");
}

TEST(Copy, NamedNodeCopiesAreDeepAndRenumbered) {
  CzemKeyword source("Depth", kMayRepeat);
  source.addParam(new CzemInt(1));
  source.addParam(new CzemString("two"));
  CzemKeyword copy("old");
  copy.addParam(new CzemInt(99));  // replaced and destroyed by the copy
  copy.CopyFrom(&source);
  EXPECT_STREQ(copy.GetName(), "Depth");
  EXPECT_EQ(copy.flags(), kMayRepeat);
  ASSERT_EQ(copy.GetNoParams(), 2);
  EXPECT_NE(copy.NodeByNum(1), source.NodeByNum(1));
  EXPECT_EQ(copy.NodeByNum(1)->parent(), &copy);
  EXPECT_EQ(copy.NodeByNum(2)->GetInstanceNo(), 2u);

  CzemSection section("S");  // a copied section lists its default definitions as keywords
  section.addKeyword(new CzemKeyword("a"));
  section.addDefaultDef(new CzemDefaultDef("a"));
  section.addKeyword(new CzemKeyword("b"));
  section.addSection(new CzemSection("Sub"));
  section.addSection(new CzemSection("sub"));
  EXPECT_EQ(section.GetNoKeywords(), 2);
  CzemSection sectionCopy;
  sectionCopy.CopyFrom(&section);
  EXPECT_EQ(sectionCopy.GetNoKeywords(), 3);
  EXPECT_EQ(sectionCopy.GetNoNodes(), 5);
  EXPECT_EQ(sectionCopy.KeywordByNameNum("A", 2)->IsDefaultDef(), 1);
  EXPECT_EQ(sectionCopy.SectionByNameNum("SUB", 2)->GetInstanceNo(), 2u);
  EXPECT_EQ(sectionCopy.SectionByNum(1)->parent(), &sectionCopy);

  CzemTargetList list;  // a target list copy takes the anchor but not the result settings
  list.setAnchor("/p/a.txt");
  list.setResultRoot("/results");
  list.setUseCustom(1);
  list.addSection(new CzemSection("T"));
  CzemTargetList listCopy;
  listCopy.CopyFrom(&list);
  EXPECT_STREQ(listCopy.GetAnchorFilename(), "/p/a.txt");
  EXPECT_TRUE(listCopy.resultRoot().empty());
  EXPECT_EQ(listCopy.useCustom(), 0);
  listCopy.CopyFrom(&listCopy);
  EXPECT_EQ(listCopy.GetNoSections(), 1);
}
