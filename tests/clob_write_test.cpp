#include <gtest/gtest.h>

#include <cfloat>
#include <memory>
#include <string>

#include "clob/clob.hpp"
#include "clob/clob_item_forms.hpp"
#include "model/named_nodes.hpp"
#include "text/output_stream.hpp"

using namespace zem;

namespace {

std::string written(CzemNode& value) {
  OutputStream out(nullptr);
  value.Write(out);
  return out.text();
}

}  // namespace

TEST(ClobItemForms, EachTypeHasItsText) {
  EXPECT_EQ(clobBoolItem(7), "true");
  EXPECT_EQ(clobBoolItem(0), "false");
  EXPECT_EQ(clobIntItem(-12), "-12");
  EXPECT_EQ(clobFloatItem(1.5f), "1.5");
  EXPECT_EQ(clobFloatItem(1.0f), "1");
  EXPECT_EQ(clobFloatItem(1e-7f), "1e-07");
  EXPECT_EQ(clobDoubleItem(3.0), "3.0");
  EXPECT_EQ(clobDoubleItem(-12.0), "-12.0");
  EXPECT_EQ(clobDoubleItem(2.5), "2.5");
  EXPECT_EQ(clobDoubleItem(0.1), "0.1");
  EXPECT_EQ(clobDoubleItem(1e20), "1e+20");
  EXPECT_EQ(clobStringItem("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(clobFilenameItem("out\\res.txt"), "|out\\res.txt|");
}

TEST(ClobItemForms, NumbersKeepEveryDigitThatMatters) {
  EXPECT_EQ(clobFloatItem(123456789.0f), "123456792");
  EXPECT_EQ(clobDoubleItem(0.1 + 0.2), "0.30000000000000004");
  CzemClob clob;
  const float floats[] = {123456789.0f, 0.1f, FLT_MAX, FLT_MIN, 1.0f / 3.0f};
  const double doubles[] = {0.1 + 0.2, DBL_MAX, 1.0 / 3.0, 4294967296.0};
  for (float f : floats) clob.append(clobFloatItem(f));
  for (double d : doubles) clob.append(clobDoubleItem(d));
  for (float f : floats) EXPECT_EQ(clob.GetFloat(), f) << clob.message();
  for (double d : doubles) EXPECT_EQ(clob.GetDouble(), d) << clob.message();
}

TEST(ClobWrite, BuiltItemsAreWrittenWithApostrophesDoubled) {
  CzemClob clob;
  clob.append(clobBoolItem(1));
  clob.append(clobIntItem(3));
  clob.append(clobDoubleItem(2.0));
  clob.append(clobFloatItem(0.5f));
  clob.append(clobStringItem("it's"));
  EXPECT_STREQ(clob.GetString(), "true,3,2.0,0.5,\"it's\"");
  EXPECT_EQ(written(clob), "'<CLOB:true,3,2.0,0.5,\"it''s\">'");
}

TEST(ClobWrite, ItemsAreWrittenAsTheyStandWithoutBlanks) {
  CzemClob clob("\"it's\" , 1,2.50, TRUE,\"q\"\"q\"");
  EXPECT_EQ(written(clob), "'<CLOB:\"it''s\",1,2.50,TRUE,\"q\"\"q\">'");
  CzemClob empty;
  EXPECT_EQ(written(empty), "'<CLOB:>'");
}

TEST(ClobWrite, WritingDoesNotMoveTheReadCursor) {
  CzemClob clob("1,2");
  EXPECT_EQ(clob.GetInt(), 1);
  written(clob);
  EXPECT_EQ(clob.GetInt(), 2);
  EXPECT_EQ(clob.message(), "");
}

TEST(ClobWrite, TextThatDoesNotLexIsKeptAsItStands) {
  CzemClob bad("1, 2x 'a'");
  EXPECT_EQ(written(bad), "'<CLOB:1,2x ''a''>'");
  CzemClob badFirst("#");
  EXPECT_EQ(written(badFirst), "'<CLOB:#>'");
}

TEST(ClobWrite, BarredNamesAreWrittenRelativeToTheDocument) {
  CzemTargetList root;
  root.setAnchor("c:\\proj\\model.txt");
  auto* section = new CzemSection("S");
  root.addSection(section);
  auto* keyword = new CzemKeyword("k");
  section->addKeyword(keyword);
  auto* clob = new CzemClob("|c:\\proj\\data\\in.txt|,|d:\\x.txt|,|rel\\it's.txt|");
  keyword->addParam(clob);
  EXPECT_EQ(written(*clob), "'<CLOB:|.\\data\\in.txt|,|d:\\x.txt|,|rel\\it''s.txt|>'");
  OutputStream out(nullptr);
  keyword->Write(out);
  EXPECT_EQ(out.text(), "   k = '<CLOB:|.\\data\\in.txt|,|d:\\x.txt|,|rel\\it''s.txt|>'\r\n");
}
