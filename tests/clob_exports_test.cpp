// The CLOB exports: appending through a handle or a CLOB node, typed and item
// reads with their failure codes, and refusal of pointers that are no CLOB.
#include "clob/clob.hpp"
#include "test_support.hpp"
#include "text/output_stream.hpp"

using namespace zem;

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

TEST_F(ClobExports, BuildingAppendsToTheCurrentCLOBElseToACLOBNode) {
  EXPECT_EQ(zemAddClobIntS(handle, 1), 1005);  // no CLOB yet
  reports.expect(1006, {});
  zemAddClobInt(handle, 1);
  zemAddClobInt(nullptr, 1);
  reports.expect(1006, {"Invalid zemNode", "Invalid zemHandle (CzemData)", "Invalid zemNode"});
  zemAddClob(handle);
  zemAddClobInt(handle, 3);
  zemAddClobString(handle, "a b");
  EXPECT_EQ(zemAddClobFloatS(handle, 1.5f), 0);
  EXPECT_EQ(zemAddClobFilenameS(handle, "o\\r.txt"), 0);
  OutputStream out(nullptr);
  doc.currentKeyword()->Write(out);
  EXPECT_EQ(out.text(), "   k = '<CLOB:3,\"a b\",1.5,|o\\r.txt|>'\r\n");
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
  EXPECT_EQ(zemAddClobS(asVoid(&bare)), 2000);
  EXPECT_EQ(zemAddClobS(nullptr), 1005);
  reports.expect(1005, {});
}

TEST_F(ClobExports, FailedReadsStore1003AndReportOrReturn2002) {
  void* bad = clob("1,2x");
  EXPECT_EQ(zemGetClobDouble(bad), 1.0);
  EXPECT_EQ(zemGetClobDouble(bad), 0.0);
  EXPECT_EQ(zemGetClobDouble(bad), 0.0);
  zemClobReset(bad, 0);
  EXPECT_EQ(zemGetClobDouble(bad), 1.0);
  void* word = clob("1,x");
  zemGetClobDouble(word);
  zemGetClobDouble(word);
  EXPECT_EQ(zemGetClobString(word), nullptr);
  reports.expect(1003, {"CLOB syntax error detected.", "CLOB syntax error detected.",
                        "CLOB data parsing failed. Double expected.", "End of CLOB reached."});
  void* real = clob("2.5,\"t\",|c:\\f.txt|");
  int value = 99;
  const char* text = nullptr;
  EXPECT_EQ(zemGetClobIntS(real, &value), 2002);
  EXPECT_EQ(value, 0);
  EXPECT_STREQ(zemGetErrorFromZemClob(real), "CLOB data parsing failed. Integer expected.");
  reports.expect(1003, {});
  EXPECT_EQ(zemGetClobStringS(real, &text), 0);
  EXPECT_STREQ(text, "t");  // valid until the next read
  EXPECT_STREQ(zemGetErrorFromZemClob(real), "");
  EXPECT_EQ(zemGetClobFilenameS(real, nullptr), 0);
  reports.expect(0, {});
}

TEST_F(ClobExports, ItemReadsTreatTheEndAsNoFailure) {
  void* node = clob("true,7");
  EXPECT_EQ(asNode(zemGetClobItem(node))->IsBool(), 1);
  EXPECT_EQ(asNode(zemGetClobItem(node))->IsInt(), 1);
  EXPECT_EQ(zemIsClobEnd(node), 0);
  EXPECT_EQ(zemGetClobItem(node), nullptr);
  EXPECT_EQ(zemIsClobEnd(node), 1);
  void* item = &item;
  EXPECT_EQ(zemGetClobItemS(node, &item), 0);
  EXPECT_EQ(item, nullptr);
  EXPECT_EQ(zemIsClobEnd(clob("")), 1);
  void* one = clob("1");
  int end = 7;
  EXPECT_EQ(zemIsClobEndS(one, &end), 0);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(zemClobResetS(one, 1), 0);
  EXPECT_EQ(zemGetClobItem(one), nullptr);
  EXPECT_EQ(zemIsClobEnd(one), 1);
  reports.expect(0, {});
}

TEST_F(ClobExports, PointersThatAreNoCLOBFailWith1006) {
  auto* text = new CzemString("x");
  doc.appendValue(text);
  void* notClob = asVoid(text);
  EXPECT_EQ(zemIsClob(notClob), 0);
  EXPECT_EQ(zemIsClob(nullptr), 0);
  EXPECT_EQ(zemGetClobInt(notClob), 0);
  EXPECT_EQ(zemGetErrorFromZemClob(notClob), nullptr);
  zemClobReset(notClob, 1);
  reports.expect(1006, {"Invalid zemNode", "Invalid CLOB object", "Invalid CLOB object", "Invalid CLOB object"});
  int out = 5;
  EXPECT_EQ(zemGetClobIntS(notClob, &out), 1015);
  EXPECT_EQ(out, 5);
  EXPECT_EQ(zemGetClobItemS(nullptr, nullptr), 1015);
  EXPECT_EQ(zemClobResetS(handle, 0), 1015);
  EXPECT_EQ(zemIsClobEndS(notClob, &out), 1015);
  reports.expect(1006, {});
}
