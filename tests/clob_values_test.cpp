// CLOB values: recognition, typed reads with their messages, the cursor, and
// the written forms of items and whole CLOBs.
#include <cfloat>
#include <memory>

#include "clob/clob.hpp"
#include "clob/clob_item_forms.hpp"
#include "model/value_factory.hpp"
#include "test_support.hpp"
#include "text/output_stream.hpp"

using namespace zem;

namespace {

std::string firstReadMessage(std::string_view text, int mask) {
  CzemClob clob(text);
  clob.read(mask);
  return clob.message();
}

std::string written(CzemNode& node) {
  OutputStream out(nullptr);
  node.Write(out);
  return out.text();
}

TEST(ClobRead, RecognitionNeedsThePrefixInAnyCaseAndTheClosingBracket) {
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

TEST(ClobRead, AppendResetAndCopyMoveTheCursorAsStated) {
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

TEST(ClobWrite, ItemFormsReadBackUnchanged) {
  EXPECT_EQ(clobBoolItem(7), "true");
  EXPECT_EQ(clobIntItem(-12), "-12");
  EXPECT_EQ(clobFloatItem(1.0f), "1");
  EXPECT_EQ(clobFloatItem(1e-7f), "1e-07");
  EXPECT_EQ(clobFloatItem(123456789.0f), "123456792");
  EXPECT_EQ(clobDoubleItem(-12.0), "-12.0");
  EXPECT_EQ(clobDoubleItem(1e20), "1e+20");
  EXPECT_EQ(clobDoubleItem(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(clobStringItem("say \"hi\""), "\"say \"\"hi\"\"\"");
  CzemClob clob;
  const float floats[] = {0.1f, FLT_MAX, FLT_MIN, 1.0f / 3.0f};
  const double doubles[] = {DBL_MAX, 1.0 / 3.0, 4294967296.0};
  for (float f : floats) clob.append(clobFloatItem(f));
  for (double d : doubles) clob.append(clobDoubleItem(d));
  for (float f : floats) EXPECT_EQ(clob.GetFloat(), f) << clob.message();
  for (double d : doubles) EXPECT_EQ(clob.GetDouble(), d) << clob.message();
}

TEST(ClobWrite, ItemsAreWrittenAsTheyStandWithApostrophesDoubled) {
  CzemClob built;
  for (const std::string& item :
       {clobBoolItem(1), clobIntItem(3), clobDoubleItem(2.0), clobFloatItem(0.5f), clobStringItem("it's")})
    built.append(item);
  EXPECT_STREQ(built.GetString(), "true,3,2.0,0.5,\"it's\"");
  EXPECT_EQ(written(built), "'<CLOB:true,3,2.0,0.5,\"it''s\">'");
  CzemClob read("\"it's\" , 1,2.50, TRUE");
  EXPECT_EQ(read.GetInt(), 0);
  EXPECT_EQ(written(read), "'<CLOB:\"it''s\",1,2.50,TRUE>'");
  EXPECT_EQ(read.GetInt(), 1);  // writing left the cursor alone
  CzemClob empty;
  EXPECT_EQ(written(empty), "'<CLOB:>'");
  CzemClob bad("1, 2x 'a'");
  EXPECT_EQ(written(bad), "'<CLOB:1,2x ''a''>'");  // text that does not lex is kept
}

}  // namespace
