#include <gtest/gtest.h>

#include <cfloat>
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
  EXPECT_EQ(clobIntItem(-12), "-12");
  EXPECT_EQ(clobFloatItem(1.0f), "1");
  EXPECT_EQ(clobFloatItem(1e-7f), "1e-07");
  EXPECT_EQ(clobFloatItem(123456789.0f), "123456792");
  EXPECT_EQ(clobDoubleItem(-12.0), "-12.0");
  EXPECT_EQ(clobDoubleItem(1e20), "1e+20");
  EXPECT_EQ(clobDoubleItem(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(clobStringItem("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(ClobItemForms, NumbersReadBackUnchanged) {
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
  built.append(clobBoolItem(1));
  built.append(clobIntItem(3));
  built.append(clobDoubleItem(2.0));
  built.append(clobFloatItem(0.5f));
  built.append(clobStringItem("it's"));
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

TEST(ClobWrite, BarredNamesAreWrittenRelativeToTheDocument) {
  CzemTargetList root;
  root.setAnchor("c:\\proj\\model.txt");
  auto* section = new CzemSection("S");
  root.addSection(section);
  auto* keyword = new CzemKeyword("k");
  section->addKeyword(keyword);
  keyword->addParam(new CzemClob("|c:\\proj\\data\\in.txt|,|d:\\x.txt|,|rel\\it's.txt|"));
  OutputStream out(nullptr);
  keyword->Write(out);
  EXPECT_EQ(out.text(), "   k = '<CLOB:|.\\data\\in.txt|,|d:\\x.txt|,|rel\\it''s.txt|>'\r\n");
}
