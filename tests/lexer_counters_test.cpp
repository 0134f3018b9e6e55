#include <gtest/gtest.h>

#include <string>

#include "load_support.hpp"

using zem_test::loadText;
using zem_test::writeTempFile;

namespace {

struct Stats {
  int code, chars, lines, comments, tokens;
};

Stats statsOf(const std::string& text, const std::string& name = "stats.txt") {
  void* handle = loadText(name, text);
  Stats s{zemGetErrorGlb(), -1, -1, -1, -1};
  if (handle != nullptr) {
    s.chars = zemNoChars(handle);
    s.lines = zemNoLines(handle);
    s.comments = zemNoComments(handle);
    s.tokens = zemNoTokens(handle);
    zemClose(&handle);
  }
  return s;
}

}  // namespace

TEST(LexerCounters, CharactersLinesAndCommentsOfALoad) {
  Stats s = statsOf("[A] EndSect");  // 11 characters, no newline at the end
  EXPECT_EQ(s.code, 0);
  EXPECT_EQ(s.chars, 11);
  EXPECT_EQ(s.lines, 1);
  EXPECT_EQ(s.comments, 0);
  EXPECT_EQ(s.tokens, 0);  // token texts are released when the load ends

  s = statsOf("; head\n[A]\n  k = 1 // why\n  /* a /* b */ */\nEndSect\n");
  EXPECT_EQ(s.chars, 52);
  EXPECT_EQ(s.lines, 6);
  EXPECT_EQ(s.comments, 4);

  s = statsOf("");
  EXPECT_EQ(s.chars, 0);
  EXPECT_EQ(s.lines, 1);
}

TEST(LexerCounters, CarriageReturnLineFeedCountsAsOneNewline) {
  const Stats s = statsOf("[A]\r\n  k = 1\r\nEndSect\r\n");
  EXPECT_EQ(s.code, 0);
  EXPECT_EQ(s.chars, 20);
  EXPECT_EQ(s.lines, 4);
  // A lone CR is an ordinary blank.
  const Stats lone = statsOf("[A]\r k = 1\r\r\nEndSect\r");
  EXPECT_EQ(lone.code, 0);
  EXPECT_EQ(lone.chars, 20);
  EXPECT_EQ(lone.lines, 2);
}

TEST(LexerCounters, PairSplitByTheReadBlockStillCountsOnce) {
  // The first read block holds 1 MiB: put the CR at its last byte.
  const std::size_t block = 1 << 20;
  std::string text = "[A]\n";
  text += "; " + std::string(block - text.size() - 3, 'x') + "\r\n";
  ASSERT_EQ(text[block - 1], '\r');
  text += "k = 1\r\n\r\nEndSect\r";
  const Stats s = statsOf(text, "split.txt");
  EXPECT_EQ(s.code, 0);
  EXPECT_EQ(s.chars, static_cast<int>(text.size()) - 3);
  EXPECT_EQ(s.lines, 5);
  EXPECT_EQ(s.comments, 1);
}

TEST(LexerCounters, ErrorPositionsUseTheNewlineCountedOnce) {
  void* handle = loadText("crlf_error.txt", "[A]\r\n\r\n  k = 1 2\r\nEndSect\r\n");
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  int line = 0, position = 0;
  EXPECT_STREQ(zemGetSyntaxErr(handle, &line, &position, nullptr), "syntax error");
  EXPECT_EQ(line, 3);
  EXPECT_EQ(position, 9);
  zemClose(&handle);
}
