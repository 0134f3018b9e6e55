// zemGetValueText hands out the characters of every kind of value, CLOBs and
// bound strings included, and refuses nodes that are no value.
#include "test_support.hpp"

TEST(ValueText, EveryLoadedValueGivesItsCharacters) {
  Reports reports;
  void* doc = loadDocument(
      "[A] k = -0.5e3, 'it''s', '<clob:1, \"a\">', #2021-04-09#, |data\\in.txt|, %name, {note}, , 7 EndSect");
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
  zemAddStringRef(doc, &bound);
  zemAddClob(doc);
  zemAddClobInt(doc, 4);
  zemAddClobString(doc, "b");
  void* keyword = zemKeywordByNum(zemTargetByNum(doc, 1), 1);
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 1)), "");
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 2)), "first");
  bound = nullptr;
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 2)), "");
  EXPECT_STREQ(zemGetValueText(zemParamByNum(keyword, 3)), "4,\"b\"");
  reports.expect(0, {});
  EXPECT_STREQ(zemGetValueText(keyword), "");
  reports.expect(1012, {"Invalid zem parameter"});
  zemClose(&doc);
}
