#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "clob/clob.hpp"
#include "model/named_nodes.hpp"
#include "model/value_factory.hpp"

using namespace zem;

namespace {

std::unique_ptr<CzemClob> clobOf(std::string_view text) { return std::make_unique<CzemClob>(text); }

// The message of one read of `text` with `mask`.
std::string firstReadMessage(std::string_view text, int mask) {
  auto clob = clobOf(text);
  clob->read(mask);
  return clob->message();
}

}  // namespace

TEST(ClobRecognition, NeedsThePrefixInAnyCaseAndTheClosingBracket) {
  std::unique_ptr<CzemNode> empty(makeClobOrString("<CLOB:>"));
  ASSERT_EQ(empty->IsClob(), 1);
  EXPECT_STREQ(empty->GetString(), "");
  EXPECT_TRUE(static_cast<CzemClob*>(empty.get())->atEnd());

  std::unique_ptr<CzemNode> lower(makeClobOrString("<clob:1,2>"));
  ASSERT_EQ(lower->IsClob(), 1);
  EXPECT_STREQ(lower->GetString(), "1,2");
  EXPECT_FALSE(static_cast<CzemClob*>(lower.get())->atEnd());

  for (const char* plain : {"<CLOB:1,2", "CLOB:1,2>", "<CLOB:", "<CLOB>", ""}) {
    std::unique_ptr<CzemNode> value(makeClobOrString(plain));
    EXPECT_EQ(value->IsClob(), 0) << plain;
    EXPECT_STREQ(value->GetString(), plain);
  }
}

TEST(ClobRead, StepsThroughTypedItemsAndThenFindsTheEnd) {
  auto clob = clobOf("1, 2.5 ,true");
  EXPECT_EQ(clob->GetInt(), 1);
  EXPECT_EQ(clob->GetDouble(), 2.5);
  EXPECT_EQ(clob->GetBool(), 1);
  EXPECT_EQ(clob->message(), "");
  EXPECT_FALSE(clob->atEnd());  // the end is seen by the next read
  EXPECT_EQ(clob->GetInt(), 0);
  EXPECT_EQ(clob->message(), "End of CLOB reached.");
  EXPECT_TRUE(clob->atEnd());
  EXPECT_EQ(clob->item(), nullptr);
}

TEST(ClobRead, TypeMismatchConsumesTheItemAndNamesTheHighestRequestedType) {
  auto clob = clobOf("2.5,4");
  EXPECT_EQ(clob->GetInt(), 0);
  EXPECT_EQ(clob->message(), "CLOB data parsing failed. Integer expected.");
  EXPECT_EQ(clob->GetInt(), 4);

  EXPECT_EQ(firstReadMessage("abc", kClobDouble), "CLOB data parsing failed. Double expected.");
  EXPECT_EQ(firstReadMessage("1", kClobString), "CLOB data parsing failed. String expected.");
  EXPECT_EQ(firstReadMessage("\"s\"", kClobFilename), "CLOB data parsing failed. Filename expected.");
  EXPECT_EQ(firstReadMessage("|f|", kClobBoolean), "CLOB data parsing failed. Boolean expected.");
  EXPECT_EQ(firstReadMessage("1", kClobFloat | kClobString), "CLOB data parsing failed. String expected.");
  EXPECT_EQ(firstReadMessage("true", kClobAnyType), "");
}

TEST(ClobRead, NumbersServeTheTypesTheirFormAllows) {
  auto clob = clobOf("7,7,-.5,+3,1e5,2.5E-3");
  EXPECT_EQ(clob->GetFloat(), 7.0f);
  EXPECT_EQ(clob->GetDouble(), 7.0);
  EXPECT_EQ(clob->GetDouble(), -0.5);
  EXPECT_EQ(clob->GetInt(), 3);
  EXPECT_EQ(clob->GetDouble(), 1e5);
  EXPECT_EQ(clob->GetFloat(), 2.5e-3f);
}

TEST(ClobRead, InvalidValuesAreReportedAndConsumed) {
  auto clob = clobOf("1e39,1e39,1e999,yes,TRUE,False");
  EXPECT_EQ(clob->GetFloat(), 0.0f);
  EXPECT_EQ(clob->message(), "'1e39' is not a valid Float.");
  EXPECT_EQ(clob->GetDouble(), 1e39);
  EXPECT_EQ(clob->GetDouble(), 0.0);
  EXPECT_EQ(clob->message(), "'1e999' is not a valid Double.");
  EXPECT_EQ(clob->GetBool(), 0);
  EXPECT_EQ(clob->message(), "'yes' is not a valid Boolean value");
  EXPECT_EQ(clob->GetBool(), 1);
  EXPECT_EQ(clob->GetBool(), 0);
  EXPECT_EQ(clob->message(), "");

  // Read as any type, an unconvertible number is still an item.
  auto any = clobOf("1e999");
  any->read(kClobAnyType);
  ASSERT_NE(any->item(), nullptr);
  EXPECT_EQ(any->item()->IsDouble(), 0);

  // An integer literal beyond the float range is no valid Float either.
  EXPECT_EQ(firstReadMessage("1" + std::string(40, '0'), kClobFloat),
            "'1" + std::string(40, '0') + "' is not a valid Float.");
}

TEST(ClobRead, QuotedStringsAndBarredNamesLoseTheirDelimiters) {
  CzemKeyword keyword("k");
  auto* clob = new CzemClob("\"a\"\"b\" , |C:\\x y\\f.txt|,|rel\\f.txt|");
  keyword.addParam(clob);
  clob->read(kClobString);
  EXPECT_STREQ(clob->item()->GetString(), "a\"b");
  clob->read(kClobFilename);
  EXPECT_STREQ(clob->item()->GetFilename(), "C:\\x y\\f.txt");
  clob->read(kClobAnyType);
  CzemNode* name = clob->item();
  ASSERT_EQ(name->IsFilename(), 1);
  EXPECT_STREQ(name->GetFilenameString(), "rel\\f.txt");
  // Linked to the CLOB's parent for its anchor, but not listed by it.
  EXPECT_EQ(name->parent(), &keyword);
  EXPECT_EQ(keyword.GetNoParams(), 1);
}

TEST(ClobRead, BarredNameResolvesAgainstTheCLOBsDocument) {
  CzemTargetList root;
  root.setAnchor("c:\\proj\\model.txt");
  auto* section = new CzemSection("S");
  root.addSection(section);
  auto* keyword = new CzemKeyword("k");
  section->addKeyword(keyword);
  auto* clob = new CzemClob("|data\\in.txt|");
  keyword->addParam(clob);
  clob->read(kClobFilename);
  EXPECT_STREQ(clob->item()->GetFilename(), "c:\\proj\\data\\in.txt");
}

TEST(ClobRead, SyntaxErrorsKeepTheCursorInPlace) {
  for (const char* text : {"12x", "1.", ",5", "+", "+.", "1e", "1e+", "abc1", "\"a\"b", "\"open", "|open", "#"}) {
    auto clob = clobOf(text);
    clob->read(kClobAnyType);
    EXPECT_EQ(clob->message(), "CLOB syntax error detected.") << text;
    EXPECT_FALSE(clob->atEnd());
    clob->read(kClobAnyType);
    EXPECT_EQ(clob->message(), "CLOB syntax error detected.") << text;
  }
  auto empty = clobOf("1,,2");
  EXPECT_EQ(empty->GetInt(), 1);
  EXPECT_EQ(empty->GetInt(), 0);
  EXPECT_EQ(empty->message(), "CLOB syntax error detected.");
  auto clob = clobOf("1,2x");
  EXPECT_EQ(clob->GetDouble(), 1.0);
  EXPECT_EQ(clob->GetDouble(), 0.0);
  EXPECT_EQ(clob->message(), "CLOB syntax error detected.");
  clob->reset(false);
  EXPECT_EQ(clob->GetDouble(), 1.0);
}

TEST(ClobRead, TrailingCommaAndBlanksEndTheText) {
  auto clob = clobOf(" 1 ,\t");
  EXPECT_EQ(clob->GetInt(), 1);
  clob->read(kClobAnyType);
  EXPECT_EQ(clob->message(), "End of CLOB reached.");
  EXPECT_TRUE(clob->atEnd());
}

TEST(ClobCursor, AppendGrowsTheTextWhileTheCursorStays) {
  CzemClob clob;
  EXPECT_TRUE(clob.atEnd());
  clob.read(kClobAnyType);
  EXPECT_EQ(clob.message(), "End of CLOB reached.");
  clob.append("1");
  EXPECT_EQ(clob.message(), "");
  EXPECT_FALSE(clob.atEnd());
  EXPECT_EQ(clob.GetInt(), 1);
  clob.append("\"two\"");
  EXPECT_STREQ(clob.GetString(), "1,\"two\"");
  clob.read(kClobString);
  ASSERT_NE(clob.item(), nullptr) << clob.message();
  EXPECT_STREQ(clob.item()->GetString(), "two");
  clob.read(kClobAnyType);
  EXPECT_TRUE(clob.atEnd());
  clob.append("3");
  EXPECT_EQ(clob.GetInt(), 3);

  auto blanks = clobOf("1,  ");
  EXPECT_EQ(blanks->GetInt(), 1);
  blanks->append("2");
  EXPECT_EQ(blanks->GetInt(), 2);
}

TEST(ClobCursor, ResetRewindsOrEmpties) {
  CzemClob clob("1,2");
  EXPECT_EQ(clob.GetInt(), 1);
  clob.GetInt();
  clob.GetInt();
  EXPECT_TRUE(clob.atEnd());
  clob.reset(false);
  EXPECT_FALSE(clob.atEnd());
  EXPECT_EQ(clob.message(), "");
  EXPECT_EQ(clob.item(), nullptr);
  EXPECT_EQ(clob.GetInt(), 1);
  clob.reset(true);
  EXPECT_STREQ(clob.GetString(), "");
  EXPECT_TRUE(clob.atEnd());
}

TEST(ClobCursor, CopyTakesTheTextAndStartsAtTheFirstItem) {
  CzemClob source("1,2");
  source.GetInt();
  CzemClob copy("9");
  copy.read(kClobString);
  copy.CopyFrom(&source);
  EXPECT_STREQ(copy.GetString(), "1,2");
  EXPECT_EQ(copy.item(), nullptr);
  EXPECT_EQ(copy.message(), "CLOB data parsing failed. String expected.");  // kept
  EXPECT_EQ(copy.GetInt(), 1);

  CzemString other("x");
  copy.CopyFrom(&other);
  EXPECT_STREQ(copy.GetString(), "1,2");

  std::unique_ptr<CzemNode> fresh(source.NewEmpty());
  EXPECT_EQ(fresh->IsClob(), 1);
  EXPECT_STREQ(fresh->GetString(), "");
  EXPECT_EQ(fresh->GetSyntaxClass(), 5);
}
