// zemGetValueText hands out the characters of every kind of value, CLOBs and
// bound strings included, and refuses nodes that are no value.
#include "test_support.hpp"

using zem_test::Reports;
using zem_test::Texts;

TEST(ValueText, EveryLoadedValueGivesItsCharacters) {
  const auto file = zem_test::scratchDir() / "value_text.txt";
  zem_test::writeFile(file,
                      "[A] k = -0.5e3, 'it''s', '<clob:1, \"a\">', #2021-04-09#, |data\\in.txt|, %name, {note}, , 7 "
                      "EndSect");
  Reports reports;
  void* doc = zemLoadFile(file.string().c_str(), 0);
  void* keyword = zemKeywordByNum(zemTargetByNum(doc, 1), 1);
  const Texts expected = {"-0.5e3", "it's", "1, \"a\"", "2021-04-09", "data\\in.txt", "name", "note", "", "7"};
  ASSERT_EQ(zemGetNoParams(keyword), static_cast<int>(expected.size()));
  for (unsigned i = 0; i < expected.size(); ++i)
    EXPECT_EQ(zemGetValueText(zemParamByNum(keyword, i + 1)), expected[i]) << "value " << i + 1;
  EXPECT_EQ(zemGetClobInt(zemParamByNum(keyword, 3)), 1);  // reading the text did not move the cursor
  reports.expect(0, {});
  zemClose(&doc);
}

TEST(ValueText, BuiltValuesGiveTheirTextsAndBoundStringsTheirVariable) {
  Reports reports;
  void* doc = zemCreate();
  const char* bound = "first";
  zemAddTarget(doc, "A");
  zemAddKeyword(doc, "k");
  zemAddInt(doc, 3);
  zemAddString(doc, "plain");
  zemAddStringRef(doc, &bound);
  zemAddClob(doc);
  zemAddClobInt(doc, 4);
  zemAddClobString(doc, "b");
  void* keyword = zemKeywordByNum(zemTargetByNum(doc, 1), 1);
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 1)), "");
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 2)), "plain");
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 3)), "first");
  bound = nullptr;
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 3)), "");
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 4)), "4,\"b\"");
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_STREQ(zemGetValueText(keyword), "");
  reports.expect(1012, {"Invalid zem parameter"});
  zemClose(&doc);
}
