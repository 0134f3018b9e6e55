#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "clob/clob.hpp"
#include "model/named_nodes.hpp"
#include "model/value_factory.hpp"

using namespace zem;

namespace {
std::string firstReadMessage(std::string_view text, int mask) {
  CzemClob clob(text);
  clob.read(mask);
  return clob.message();
}
}  // namespace

TEST(ClobRecognition, NeedsThePrefixInAnyCaseAndTheClosingBracket) {
  std::unique_ptr<CzemNode> empty(makeClobOrString("<CLOB:>"));
  ASSERT_EQ(empty->IsClob(), 1);
  EXPECT_TRUE(static_cast<CzemClob*>(empty.get())->atEnd());
  std::unique_ptr<CzemNode> lower(makeClobOrString("<clob:1,2>"));
  ASSERT_EQ(lower->IsClob(), 1);
  EXPECT_STREQ(lower->GetString(), "1,2");
  EXPECT_EQ(lower->GetSyntaxClass(), 5);
  for (const char* plain : {"<CLOB:1,2", "CLOB:1,2>", "<CLOB:", ""}) {
    std::unique_ptr<CzemNode> value(makeClobOrString(plain));
    EXPECT_EQ(value->IsString(), 1) << plain;
    EXPECT_STREQ(value->GetString(), plain);
  }
}

TEST(ClobRead, StepsThroughTypedItemsAndSeesTheEndOnTheNextRead) {
  CzemClob clob("1, 2.5 ,true,-.5,+3,\"a\"\"b\" ,");
  EXPECT_EQ(clob.GetInt(), 1);
  EXPECT_EQ(clob.GetDouble(), 2.5);
  EXPECT_EQ(clob.GetBool(), 1);
  EXPECT_EQ(clob.GetFloat(), -0.5f);
  EXPECT_EQ(clob.GetInt(), 3);
  clob.read(kClobString);
  EXPECT_STREQ(clob.item()->GetString(), "a\"b");
  EXPECT_FALSE(clob.atEnd());
  EXPECT_EQ(clob.GetInt(), 0);
  EXPECT_EQ(clob.message(), "End of CLOB reached.");
  EXPECT_TRUE(clob.atEnd());
}

TEST(ClobRead, MismatchesAndInvalidValuesConsumeTheItem) {
  CzemClob clob("2.5,7,1e39,1e39,1e999,yes,TRUE");
  EXPECT_EQ(clob.GetInt(), 0);
  EXPECT_EQ(clob.message(), "CLOB data parsing failed. Integer expected.");
  EXPECT_EQ(clob.GetFloat(), 7.0f);
  EXPECT_EQ(clob.GetFloat(), 0.0f);
  EXPECT_EQ(clob.message(), "'1e39' is not a valid Float.");
  EXPECT_EQ(clob.GetDouble(), 1e39);
  EXPECT_EQ(clob.GetDouble(), 0.0);
  EXPECT_EQ(clob.message(), "'1e999' is not a valid Double.");
  EXPECT_EQ(clob.GetBool(), 0);
  EXPECT_EQ(clob.message(), "'yes' is not a valid Boolean value");
  EXPECT_EQ(clob.GetBool(), 1);
  EXPECT_EQ(firstReadMessage("\"s\"", kClobFilename), "CLOB data parsing failed. Filename expected.");
  EXPECT_EQ(firstReadMessage("1", kClobFloat | kClobString), "CLOB data parsing failed. String expected.");
  EXPECT_EQ(firstReadMessage("1e999", kClobAnyType), "");
  const std::string huge = "1" + std::string(40, '0');
  EXPECT_EQ(firstReadMessage(huge, kClobFloat), "'" + huge + "' is not a valid Float.");
}

TEST(ClobRead, SyntaxErrorsKeepTheCursorInPlace) {
  for (const char* text : {"12x", "1.", ",5", "+.", "1e+", "abc1", "\"a\"b", "\"open", "|open", "#"}) {
    CzemClob clob(text);
    clob.read(kClobAnyType);
    clob.read(kClobAnyType);
    EXPECT_EQ(clob.message(), "CLOB syntax error detected.") << text;
    EXPECT_FALSE(clob.atEnd());
  }
  CzemClob clob("1,,2");
  EXPECT_EQ(clob.GetInt(), 1);
  EXPECT_EQ(clob.GetInt(), 0);
  EXPECT_EQ(clob.message(), "CLOB syntax error detected.");
  clob.reset(false);
  EXPECT_EQ(clob.GetInt(), 1);
}

TEST(ClobRead, BarredNameResolvesInTheCLOBsDocumentWithoutBeingListed) {
  CzemTargetList root;
  root.setAnchor("c:\\proj\\model.txt");
  auto* section = new CzemSection("S");
  root.addSection(section);
  auto* keyword = new CzemKeyword("k");
  section->addKeyword(keyword);
  auto* clob = new CzemClob("|data\\in.txt|, |C:\\x y\\f.txt|");
  keyword->addParam(clob);
  clob->read(kClobFilename);
  EXPECT_STREQ(clob->item()->GetFilename(), "c:\\proj\\data\\in.txt");
  EXPECT_EQ(clob->item()->parent(), keyword);
  EXPECT_EQ(keyword->GetNoParams(), 1);
  clob->read(kClobAnyType);
  EXPECT_STREQ(clob->item()->GetFilename(), "C:\\x y\\f.txt");
}

TEST(ClobCursor, AppendResetAndCopy) {
  CzemClob clob;
  EXPECT_TRUE(clob.atEnd());
  clob.append("1");
  EXPECT_FALSE(clob.atEnd());
  EXPECT_EQ(clob.GetInt(), 1);
  clob.GetInt();  // the end
  clob.append("2");
  EXPECT_EQ(clob.message(), "");
  EXPECT_EQ(clob.GetInt(), 2);  // a cursor at the end follows the growth
  clob.reset(false);
  EXPECT_EQ(clob.item(), nullptr);
  EXPECT_EQ(clob.GetInt(), 1);

  CzemClob copy("x");
  copy.GetInt();
  copy.CopyFrom(&clob);
  EXPECT_STREQ(copy.GetString(), "1,2");
  EXPECT_EQ(copy.message(), "CLOB data parsing failed. Integer expected.");  // kept
  EXPECT_EQ(copy.GetInt(), 1);
  CzemString other("s");
  copy.CopyFrom(&other);
  EXPECT_STREQ(copy.GetString(), "1,2");

  clob.reset(true);
  EXPECT_STREQ(clob.GetString(), "");
  EXPECT_TRUE(clob.atEnd());
}
