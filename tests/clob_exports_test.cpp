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

using Texts = std::vector<std::string>;

struct Reports {
  Texts texts;
  Reports() {
    zemGetErrorGlb();
    voxSetSink([](const char* t, int, void* self) { static_cast<Reports*>(self)->texts.emplace_back(t); }, this);
  }
  ~Reports() { voxSetSink(nullptr, nullptr); }
  Texts take() { return std::exchange(texts, {}); }
};

// A built document with section "S" and keyword "k" current.
struct Building {
  CzemCreate doc;
  Building() {
    doc.addTarget("S");
    doc.addKeyword("k");
  }
  void* handle() { return static_cast<CzemBase*>(&doc); }
  void* clob(std::string_view text) {
    auto* value = new CzemClob(text);
    doc.appendValue(value);
    return static_cast<CzemBase*>(value);
  }
};

CzemNode* node(void* p) { return static_cast<CzemNode*>(static_cast<CzemBase*>(p)); }

}  // namespace

TEST(ClobExports, BuildingAppendsToTheCurrentCLOB) {
  Reports reports;
  Building b;
  zemAddClob(b.handle());
  zemAddClobInt(b.handle(), 3);
  zemAddClobString(b.handle(), "a b");
  EXPECT_EQ(zemAddClobFloatS(b.handle(), 1.5f), 0);
  EXPECT_EQ(zemAddClobFilenameS(b.handle(), "o\\r.txt"), 0);
  OutputStream out(nullptr);
  b.doc.currentKeyword()->Write(out);
  EXPECT_EQ(out.text(), "   k = '<CLOB:3,\"a b\",1.5,|o\\r.txt|>'\r\n");
  EXPECT_EQ(reports.take(), Texts{});

  CzemCreate bare;
  zemAddClob(static_cast<CzemBase*>(&bare));
  EXPECT_EQ(reports.take(), Texts{"Missing current keyword"});
  EXPECT_EQ(zemAddClobS(static_cast<CzemBase*>(&bare)), 2000);
  EXPECT_EQ(zemAddClobS(nullptr), 1005);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST(ClobExports, AppendTargetIsTheCurrentCLOBElseACLOBNode) {
  Reports reports;
  Building b;
  EXPECT_EQ(zemAddClobIntS(b.handle(), 1), 1005);
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  zemAddClobInt(b.handle(), 1);
  zemAddClobInt(nullptr, 1);
  EXPECT_EQ(reports.take(), (Texts{"Invalid zemNode", "Invalid zemHandle (CzemData)", "Invalid zemNode"}));
  zemGetErrorGlb();

  void* clob = b.clob("");
  zemAddClobBool(clob, 1);
  EXPECT_EQ(reports.take(), Texts{"Invalid zemHandle (CzemData)"});
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(zemAddClobStringS(clob, nullptr), 0);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_STREQ(node(clob)->GetString(), "true,\"\"");
}

TEST(ClobExports, FailedReadsStore1003AndReportOrReturn2002) {
  Reports reports;
  Building b;
  void* bad = b.clob("1,2x");
  EXPECT_EQ(zemGetClobDouble(bad), 1.0);
  EXPECT_EQ(zemGetClobDouble(bad), 0.0);
  EXPECT_EQ(zemGetClobDouble(bad), 0.0);
  zemClobReset(bad, 0);
  EXPECT_EQ(zemGetClobDouble(bad), 1.0);
  void* word = b.clob("1,x");
  zemGetClobDouble(word);
  zemGetClobDouble(word);
  EXPECT_EQ(zemGetClobString(word), nullptr);
  EXPECT_EQ(reports.take(), (Texts{"CLOB syntax error detected.", "CLOB syntax error detected.",
                                   "CLOB data parsing failed. Double expected.", "End of CLOB reached."}));
  EXPECT_EQ(zemGetErrorGlb(), 1003);

  void* real = b.clob("2.5,\"t\",|c:\\f.txt|");
  int value = 99;
  const char* text = nullptr;
  EXPECT_EQ(zemGetClobIntS(real, &value), 2002);
  EXPECT_EQ(value, 0);
  EXPECT_STREQ(zemGetErrorFromZemClob(real), "CLOB data parsing failed. Integer expected.");
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  EXPECT_EQ(zemGetClobStringS(real, &text), 0);
  EXPECT_STREQ(text, "t");  // valid until the next read
  EXPECT_STREQ(zemGetErrorFromZemClob(real), "");
  EXPECT_EQ(zemGetClobFilenameS(real, nullptr), 0);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST(ClobExports, ItemReadsTreatTheEndAsNoFailure) {
  Reports reports;
  Building b;
  void* clob = b.clob("true,7");
  EXPECT_EQ(node(zemGetClobItem(clob))->IsBool(), 1);
  EXPECT_EQ(node(zemGetClobItem(clob))->IsInt(), 1);
  EXPECT_EQ(zemIsClobEnd(clob), 0);
  EXPECT_EQ(zemGetClobItem(clob), nullptr);
  EXPECT_EQ(zemIsClobEnd(clob), 1);
  void* item = &item;
  EXPECT_EQ(zemGetClobItemS(clob, &item), 0);
  EXPECT_EQ(item, nullptr);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 0);

  int end = 7;
  EXPECT_EQ(zemIsClobEnd(b.clob("")), 1);
  void* one = b.clob("1");
  EXPECT_EQ(zemIsClobEndS(one, &end), 0);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(zemClobResetS(one, 1), 0);
  EXPECT_EQ(zemGetClobItem(one), nullptr);
  EXPECT_EQ(zemIsClobEnd(one), 1);
}

TEST(ClobExports, PointersThatAreNoCLOBFailWith1006) {
  Reports reports;
  Building b;
  auto* text = new CzemString("x");
  b.doc.appendValue(text);
  void* notClob = static_cast<CzemBase*>(text);
  EXPECT_EQ(zemIsClob(notClob), 0);
  EXPECT_EQ(zemIsClob(nullptr), 0);
  EXPECT_EQ(zemGetClobInt(notClob), 0);
  EXPECT_EQ(zemGetErrorFromZemClob(notClob), nullptr);
  zemClobReset(notClob, 1);
  EXPECT_EQ(reports.take(),
            (Texts{"Invalid zemNode", "Invalid CLOB object", "Invalid CLOB object", "Invalid CLOB object"}));
  EXPECT_EQ(zemGetErrorGlb(), 1006);

  int out = 5;
  EXPECT_EQ(zemGetClobIntS(notClob, &out), 1015);
  EXPECT_EQ(out, 5);
  EXPECT_EQ(zemGetClobItemS(nullptr, nullptr), 1015);
  EXPECT_EQ(zemClobResetS(b.handle(), 0), 1015);
  EXPECT_EQ(zemIsClobEndS(notClob, &out), 1015);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_EQ(zemGetErrorGlb(), 1006);
}
