#include <gtest/gtest.h>

#include "model/named_nodes.hpp"
#include "model/values.hpp"

using namespace zem;

TEST(ModelSmoke, SectionIndexesKeywordsByFoldedName) {
  CzemSection s("S");
  s.addKeyword(new CzemKeyword("a"));
  s.addKeyword(new CzemKeyword("b"));
  s.addKeyword(new CzemKeyword("A"));
  EXPECT_EQ(s.GetNoKeywords(), 3);
  EXPECT_EQ(s.KeywordByNum(3)->GetInstanceNo(), 2u);
  EXPECT_EQ(s.KeywordByNameNum("a", 2), s.KeywordByNum(3));
}
