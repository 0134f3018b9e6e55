// CLOB values: recognition, typed reads and their messages, the cursor, written forms, and the exports.
#include "clob/clob.hpp"

#include <cfloat>
#include <cmath>
#include <memory>

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

// A built document with section "S" and keyword "k" current.
class ClobExports : public testing::Test {
 protected:
  ClobExports() {
    doc.addTarget("S");
    doc.addKeyword("k");
  }
  void* clob(std::string_view text) {
    auto* value = new CzemClob(text);
    doc.appendValue(value);
    return asVoid(value);
  }

  Reports reports;
  CzemCreate doc;
  void* handle = asVoid(&doc);
};

}  // namespace

TEST(ClobRead, RecognitionNeedsThePrefixInAnyCaseAndTheClosingBracket) {
  for (const char* text : {"<CLOB:>", "<clob:1,2>", "<CLOB:1,2", "CLOB:1,2>", "<CLOB:", ""}) {
    SCOPED_TRACE(text);
    std::unique_ptr<CzemNode> value(makeClobOrString(text));
    const bool clob = text[0] == '<' && std::string_view(text).ends_with('>');
    EXPECT_EQ(value->IsClob(), clob ? 1 : 0);
    EXPECT_EQ(value->IsString(), clob ? 0 : 1);
    EXPECT_EQ(clob && static_cast<CzemClob*>(value.get())->atEnd(), clob && text[6] == '>');
    EXPECT_EQ(value->GetString(), clob ? std::string_view(text).substr(6, std::strlen(text) - 7) : text);
  }
}

TEST(ClobRead, MismatchesAndInvalidValuesConsumeTheItem) {
  CzemClob clob("2.5,7,1e39,1e39,1e999,yes,TRUE");
  EXPECT_EQ(clob.GetInt(), 0);
  EXPECT_EQ(clob.message(), "CLOB data parsing failed. Integer expected.");
  EXPECT_EQ((std::pair{clob.GetFloat(), clob.GetFloat()}), std::pair(7.0f, 0.0f));
  EXPECT_EQ(clob.message(), "'1e39' is not a valid Float.");
  EXPECT_EQ((std::pair{clob.GetDouble(), clob.GetDouble()}), std::pair(1e39, 0.0));
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
  EXPECT_EQ((std::pair{clob.GetInt(), clob.GetInt()}), std::pair(1, 0));
  EXPECT_EQ(clob.message(), "CLOB syntax error detected.");
}

TEST(ClobRead, AppendResetAndCopyPlaceTheCursor) {
  CzemClob clob;
  const bool emptyAtEnd = clob.atEnd();
  clob.append("1");
  EXPECT_EQ(std::pair(emptyAtEnd, clob.atEnd()), std::pair(true, false));
  EXPECT_EQ((std::pair{clob.GetInt(), clob.GetInt()}), std::pair(1, 0));  // then the end
  clob.append("2");
  EXPECT_EQ(clob.message(), "");
  EXPECT_EQ(clob.GetInt(), 2);  // a cursor at the end follows the growth
  clob.reset(false);
  EXPECT_EQ((std::pair{clob.item(), clob.GetInt()}), std::pair(static_cast<CzemNode*>(nullptr), 1));
  CzemClob copy("x");
  copy.CopyFrom(&clob);
  EXPECT_EQ((std::pair{std::string(copy.GetString()), copy.GetInt()}),
            std::pair(std::string("1,2"), 1));  // from the start
}

TEST(ClobWrite, ItemFormsReadBackUnchanged) {
  EXPECT_EQ(
      (Texts{clobBoolItem(7), clobIntItem(-12), clobFloatItem(1.0f), clobFloatItem(1e-7f), clobFloatItem(123456789.0f),
             clobDoubleItem(-12.0), clobDoubleItem(1e20), clobDoubleItem(0.1 + 0.2), clobStringItem("say \"hi\"")}),
      (Texts{"true", "-12", "1", "1e-07", "123456792", "-12.0", "1e+20", "0.30000000000000004", "\"say \"\"hi\"\"\""}));
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
  CzemClob read("\"it's\" , 1,2.50, TRUE"), empty, bad("1, 2x 'a'");
  EXPECT_EQ(read.GetInt(), 0);
  // Writing leaves the cursor alone; text that does not lex is kept.
  EXPECT_EQ((Texts{written(read), std::to_string(read.GetInt()), written(empty), written(bad)}),
            (Texts{"'<CLOB:\"it''s\",1,2.50,TRUE>'", "1", "'<CLOB:>'", "'<CLOB:1,2x ''a''>'"}));
}

TEST_F(ClobExports, BuildingAppendsToTheCurrentCLOBElseToACLOBNode) {
  EXPECT_EQ(zemAddClobIntS(handle, 1), 1005);  // no CLOB yet
  reports.expect(1006, {});
  zemAddClobInt(handle, 1);
  zemAddClobInt(nullptr, 1);
  reports.expect(1006, {"Invalid zemNode", "Invalid zemHandle (CzemData)", "Invalid zemNode"});
  zemAddClob(handle);
  zemAddClobInt(handle, 3);
  zemAddClobString(handle, "a b");
  EXPECT_EQ((std::vector{zemAddClobFloatS(handle, 1.5f), zemAddClobFilenameS(handle, "o\\r.txt")}), std::vector(2, 0));
  EXPECT_EQ(written(*doc.currentKeyword()), "   k = '<CLOB:3,\"a b\",1.5,|o\\r.txt|>'\r\n");
  reports.expect(0, {});

  void* node = clob("");
  zemAddClobBool(node, 1);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  EXPECT_EQ(zemAddClobStringS(node, nullptr), 0);
  reports.expect(1005, {});
  EXPECT_STREQ(asNode(node)->GetString(), "true,\"\"");
  CzemCreate bare;
  zemAddClob(asVoid(&bare));
  reports.expect(0, {"Missing current keyword"});
  EXPECT_EQ((std::pair{zemAddClobS(asVoid(&bare)), zemAddClobS(nullptr)}), std::pair(2000, 1005));
  reports.expect(1005, {});
}

TEST_F(ClobExports, AQuietRefusedItemLeavesTheHandleReporting) {
  zemAddClob(handle);
  EXPECT_EQ(zemAddClobDoubleS(handle, NAN), 2000);
  reports.expect(0, {});
  zemAddTarget(handle, "U");  // a plain failure after it is still reported
  reports.expect(0, {"Previous section was not completed"});
}

TEST_F(ClobExports, FailedReadsStore1003AndReportOrReturn2002) {
  void* bad = clob("1,2x");
  EXPECT_EQ((std::tuple{zemGetClobDouble(bad), zemGetClobDouble(bad), zemGetClobDouble(bad)}),
            std::tuple(1.0, 0.0, 0.0));
  zemClobReset(bad, 0);
  void* word = clob("1,x");
  EXPECT_EQ((std::tuple{zemGetClobDouble(bad), zemGetClobDouble(word), zemGetClobDouble(word), zemGetClobString(word)}),
            std::tuple(1.0, 1.0, 0.0, nullptr));
  reports.expect(1003, {"CLOB syntax error detected.", "CLOB syntax error detected.",
                        "CLOB data parsing failed. Double expected.", "End of CLOB reached."});
  void* real = clob("2.5,\"t\",|c:\\f.txt|");
  int value = 99;
  const char* text = nullptr;
  EXPECT_EQ((std::pair{zemGetClobIntS(real, &value), value}), std::pair(2002, 0));
  EXPECT_STREQ(zemGetErrorFromZemClob(real), "CLOB data parsing failed. Integer expected.");
  reports.expect(1003, {});
  EXPECT_EQ(zemGetClobStringS(real, &text), 0);
  EXPECT_EQ((Texts{text, zemGetErrorFromZemClob(real)}), (Texts{"t", ""}));  // the text is valid until the next read
  EXPECT_EQ(zemGetClobFilenameS(real, nullptr), 0);
}

TEST_F(ClobExports, ItemReadsTreatTheEndAsNoFailure) {
  void* node = clob("true,7");
  EXPECT_EQ((std::vector{asNode(zemGetClobItem(node))->IsBool(), asNode(zemGetClobItem(node))->IsInt(),
                         zemIsClobEnd(node), zemGetClobItem(node) == nullptr ? 1 : 0, zemIsClobEnd(node)}),
            (std::vector{1, 1, 0, 1, 1}));
  void* item = &item;
  EXPECT_EQ((std::pair{zemGetClobItemS(node, &item), item}), std::pair(0, static_cast<void*>(nullptr)));
  EXPECT_EQ(zemIsClobEnd(clob("")), 1);
  void* one = clob("1");
  int end = 7;
  EXPECT_EQ((std::vector{zemIsClobEndS(one, &end), end, zemClobResetS(one, 1), zemGetClobItem(one) == nullptr ? 1 : 0,
                         zemIsClobEnd(one)}),
            (std::vector{0, 0, 0, 1, 1}));
}
