// zemGetValueText hands out the characters of every kind of value, CLOBs and
// bound strings included, and refuses nodes that are no value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "load_support.hpp"
#include "zem/zem.h"

using zem_test::loadText;
using zem_test::ReportCapture;

TEST(ValueText, EveryLoadedValueGivesItsCharacters) {
  void* doc = loadText("value_text.txt",
                       "[A] k = -0.5e3, 'it''s', '<clob:1, \"a\">', #2021-04-09#, |data\\in.txt|, %name, {note}, ,"
                       " 7 EndSect");
  ASSERT_EQ(zemPeekErrorGlb(), 0);
  void* keyword = zemKeywordByNum(zemTargetByNum(doc, 1), 1);
  const std::vector<std::string> expected = {"-0.5e3", "it's", "1, \"a\"", "2021-04-09", "data\\in.txt",
                                             "name",   "note", "",         "7"};
  ASSERT_EQ(zemGetNoParams(keyword), static_cast<int>(expected.size()));
  ReportCapture capture;
  for (unsigned i = 0; i < expected.size(); ++i)
    EXPECT_EQ(zemGetValueText(zemParamByNum(keyword, i + 1)), expected[i]) << "value " << i + 1;
  EXPECT_TRUE(capture.texts().empty());
  // Reading the CLOB's text does not move its cursor.
  EXPECT_EQ(zemGetClobInt(zemParamByNum(keyword, 3)), 1);
  zemClose(&doc);
}

TEST(ValueText, BuiltValuesGiveTheirTextsAndBoundStringsTheirVariable) {
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

  ReportCapture capture;
  zemGetErrorGlb();
  EXPECT_STREQ(zemGetValueText(keyword), "");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"Invalid zem parameter"});
  EXPECT_EQ(zemGetErrorGlb(), 1012);
  zemClose(&doc);
}
