#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "clob/clob.hpp"
#include "frame/document.hpp"
#include "model/named_nodes.hpp"
#include "text/output_stream.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

using namespace zem;

namespace {

struct Reports {
  std::vector<std::string> texts;
  Reports() {
    zemGetErrorGlb();
    voxSetSink(&Reports::collect, this);
  }
  ~Reports() {
    voxSetSink(nullptr, nullptr);
    zemGetErrorGlb();
  }
  static void collect(const char* text, int, void* self) { static_cast<Reports*>(self)->texts.emplace_back(text); }
  std::vector<std::string> take() { return std::exchange(texts, {}); }
};

using Texts = std::vector<std::string>;

// A built document with section "S" and keyword "k" current.
struct Building {
  CzemCreate doc;
  Building() {
    doc.addTarget("S");
    doc.addKeyword("k");
  }
  void* handle() { return static_cast<CzemBase*>(&doc); }
  CzemKeyword* keyword() { return doc.currentKeyword(); }
  // A CLOB value holding `text`, appended to the keyword.
  void* clob(std::string_view text) {
    auto* value = new CzemClob(text);
    doc.appendValue(value);
    return static_cast<CzemBase*>(value);
  }
};

}  // namespace

TEST(ClobExports, BuildingAppendsToTheCurrentCLOB) {
  Reports reports;
  Building b;
  zemAddClob(b.handle());
  zemAddClobInt(b.handle(), 3);
  zemAddClobString(b.handle(), "a b");
  EXPECT_EQ(zemAddClobBoolS(b.handle(), 0), 0);
  EXPECT_EQ(zemAddClobFloatS(b.handle(), 1.5f), 0);
  EXPECT_EQ(zemAddClobDoubleS(b.handle(), 2.0), 0);
  EXPECT_EQ(zemAddClobFilenameS(b.handle(), "o\\r.txt"), 0);
  OutputStream out(nullptr);
  b.keyword()->Write(out);
  EXPECT_EQ(out.text(), "   k = '<CLOB:3,\"a b\",false,1.5,2.0,|o\\r.txt|>'\r\n");
  EXPECT_EQ(reports.texts, Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST(ClobExports, AddClobIsABuildingStep) {
  Reports reports;
  CzemCreate doc;
  void* h = static_cast<CzemBase*>(&doc);
  zemAddClob(h);
  EXPECT_EQ(reports.take(), Texts{"Missing current keyword"});
  EXPECT_EQ(zemAddClobS(h), 2000);
  EXPECT_TRUE(doc.silent());
  EXPECT_EQ(zemAddClobS(nullptr), 1005);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  doc.addTarget("S");
  doc.addKeyword("k");
  EXPECT_EQ(zemAddClobS(h), 0);
  EXPECT_NE(doc.currentClob(), nullptr);
}

TEST(ClobExports, AppendWithoutCurrentCLOBFailsAtTheNodeCheck) {
  Reports reports;
  Building b;
  EXPECT_EQ(zemAddClobIntS(b.handle(), 1), 1005);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  zemAddClobInt(b.handle(), 1);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});
  zemAddClobInt(nullptr, 1);
  EXPECT_EQ(reports.take(), (Texts{"Invalid zemHandle (CzemData)", "Invalid zemNode"}));
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  for (int status : {zemAddClobBoolS(nullptr, 1), zemAddClobFloatS(nullptr, 1), zemAddClobDoubleS(nullptr, 1),
                     zemAddClobStringS(nullptr, "x"), zemAddClobFilenameS(nullptr, "x")})
    EXPECT_EQ(status, 1005);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
}

TEST(ClobExports, AppendToACLOBNodeFailsAsHandleFirst) {
  Reports reports;
  Building b;
  void* clob = b.clob("");
  zemAddClob(b.handle());  // a later value: the handle's current CLOB moves on
  zemAddClobBool(clob, 1);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemHandle (CzemData)"});
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(zemAddClobIntS(clob, 5), 0);
  EXPECT_EQ(zemAddClobStringS(clob, nullptr), 0);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_STREQ(static_cast<CzemClob*>(static_cast<CzemBase*>(clob))->GetString(), "true,5,\"\"");
}

TEST(ClobExports, PlainReadsReportTheCLOBMessageAndStore1003) {
  Reports reports;
  Building b;
  void* bad = b.clob("1,2x");
  EXPECT_EQ(zemGetClobDouble(bad), 1.0);
  EXPECT_EQ(zemGetClobDouble(bad), 0.0);
  EXPECT_EQ(zemGetClobDouble(bad), 0.0);
  EXPECT_EQ(reports.take(), Texts(2, "CLOB syntax error detected."));
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  zemClobReset(bad, 0);
  EXPECT_EQ(zemGetClobDouble(bad), 1.0);

  void* word = b.clob("1,x");
  EXPECT_EQ(zemGetClobDouble(word), 1.0);
  EXPECT_EQ(zemGetClobDouble(word), 0.0);
  EXPECT_EQ(zemGetClobDouble(word), 0.0);
  EXPECT_EQ(reports.take(), (Texts{"CLOB data parsing failed. Double expected.", "End of CLOB reached."}));

  void* typed = b.clob("true,-4,0.5,\"s\",|c:\\f.txt|");
  EXPECT_EQ(zemGetClobBool(typed), 1);
  EXPECT_EQ(zemGetClobInt(typed), -4);
  EXPECT_EQ(zemGetClobFloat(typed), 0.5f);
  EXPECT_STREQ(zemGetClobString(typed), "s");
  EXPECT_STREQ(zemGetClobFilename(typed), "c:\\f.txt");
  EXPECT_EQ(zemGetClobString(typed), nullptr);
  EXPECT_EQ(reports.take(), Texts{"End of CLOB reached."});
}

TEST(ClobExports, QuietReadsStoreTheValueAndReturn2002) {
  Reports reports;
  Building b;
  void* clob = b.clob("2.5");
  int value = 99;
  EXPECT_EQ(zemGetClobIntS(clob, &value), 2002);
  EXPECT_EQ(value, 0);
  EXPECT_STREQ(zemGetErrorFromZemClob(clob), "CLOB data parsing failed. Integer expected.");
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  EXPECT_EQ(reports.take(), Texts{});

  void* items = b.clob("true,7,1.5,2.5,\"t\",|f|");
  int flag = 0;
  float f = 0;
  double d = 0;
  const char* text = nullptr;
  const char* name = nullptr;
  EXPECT_EQ(zemGetClobBoolS(items, &flag), 0);
  EXPECT_EQ(zemGetClobIntS(items, &value), 0);
  EXPECT_EQ(zemGetClobFloatS(items, &f), 0);
  EXPECT_EQ(zemGetClobDoubleS(items, &d), 0);
  EXPECT_EQ(zemGetClobStringS(items, &text), 0);
  EXPECT_STREQ(text, "t");                            // valid until the next read
  EXPECT_EQ(zemGetClobFilenameS(items, nullptr), 0);  // a null out is left alone
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(zemGetClobFilenameS(items, &name), 2002);
  EXPECT_EQ(name, nullptr);
  EXPECT_STREQ(zemGetErrorFromZemClob(items), "End of CLOB reached.");
}

TEST(ClobExports, ItemReadsTreatTheEndAsNoFailure) {
  Reports reports;
  Building b;
  void* clob = b.clob("true,7");
  void* first = zemGetClobItem(clob);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(static_cast<CzemNode*>(static_cast<CzemBase*>(first))->IsBool(), 1);
  EXPECT_EQ(static_cast<CzemNode*>(static_cast<CzemBase*>(zemGetClobItem(clob)))->IsInt(), 1);
  EXPECT_EQ(zemIsClobEnd(clob), 0);
  EXPECT_EQ(zemGetClobItem(clob), nullptr);
  EXPECT_EQ(zemIsClobEnd(clob), 1);
  EXPECT_STREQ(zemGetErrorFromZemClob(clob), "");
  void* item = &item;
  EXPECT_EQ(zemGetClobItemS(clob, &item), 0);
  EXPECT_EQ(item, nullptr);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 0);

  void* broken = b.clob("#");
  EXPECT_EQ(zemGetClobItem(broken), nullptr);
  EXPECT_EQ(reports.take(), Texts{"CLOB syntax error detected."});
  EXPECT_EQ(zemGetClobItemS(broken, &item), 2002);
}

TEST(ClobExports, EndFlagAndReset) {
  Reports reports;
  Building b;
  void* empty = b.clob("");
  EXPECT_EQ(zemIsClobEnd(empty), 1);
  void* clob = b.clob("1");
  int end = 7;
  EXPECT_EQ(zemIsClobEndS(clob, &end), 0);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(zemClobResetS(clob, 1), 0);
  EXPECT_EQ(zemGetClobItem(clob), nullptr);
  EXPECT_EQ(zemIsClobEnd(clob), 1);
  EXPECT_EQ(zemIsClobEndS(clob, nullptr), 0);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST(ClobExports, PointersThatAreNoCLOBFailWith1006) {
  Reports reports;
  Building b;
  auto* text = new CzemString("x");
  b.doc.appendValue(text);
  void* notClob = static_cast<CzemBase*>(text);

  EXPECT_EQ(zemIsClob(notClob), 0);
  EXPECT_EQ(zemIsClob(b.clob("")), 1);
  EXPECT_EQ(zemIsClob(nullptr), 0);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});

  EXPECT_EQ(zemGetClobInt(notClob), 0);
  EXPECT_EQ(zemGetErrorFromZemClob(notClob), nullptr);
  EXPECT_EQ(zemIsClobEnd(notClob), 0);
  zemClobReset(notClob, 1);
  EXPECT_EQ(reports.take(), Texts(4, "Invalid CLOB object"));
  EXPECT_EQ(zemGetClobString(nullptr), nullptr);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});
  EXPECT_EQ(zemGetErrorGlb(), 1006);

  int out = 5;
  void* item = nullptr;
  EXPECT_EQ(zemGetClobIntS(notClob, &out), 1015);
  EXPECT_EQ(out, 5);
  EXPECT_EQ(zemGetClobItemS(nullptr, &item), 1015);
  EXPECT_EQ(zemClobResetS(b.handle(), 0), 1015);
  EXPECT_EQ(zemIsClobEndS(notClob, &out), 1015);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 1006);
}
