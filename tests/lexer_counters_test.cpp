// The text layer: which carriage returns the file reader drops, and the counters of a load.
#include <random>

#include "test_support.hpp"
#include "text/file_stream.hpp"

namespace {

std::string dropped(std::string text) {
  text.resize(zem::dropPairedCarriageReturns(reinterpret_cast<unsigned char*>(text.data()), text.size()));
  return text;
}

}  // namespace

TEST(LexerTextMode, OnlyACarriageReturnBeforeALineFeedGoes) {
  EXPECT_EQ(dropped("\r\r\n\n\r"), "\r\n\n\r");
  // Every mix of CR, LF and other bytes, at every place of a word (pairs across word ends too).
  std::mt19937 random(5);
  const char kBytes[] = {'\r', '\n', 'x', '\0'};
  for (int round = 0; round < 4000; ++round) {
    std::string text(random() % 40, ' '), expected;
    for (char& c : text) c = kBytes[random() % 4];
    for (std::size_t i = 0; i < text.size(); ++i)
      if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') expected += text[i];
    EXPECT_EQ(dropped(text), expected) << round;
  }
}

TEST(LexerCounters, CharactersLinesAndCommentsOfALoad) {
  // The first read block holds 1 MiB: a CR LF pair split by it still counts once.
  const std::size_t block = 1 << 20;
  std::string split = "[A]\n; " + std::string(block - 7, 'x') + "\r\n";
  ASSERT_EQ(split[block - 1], '\r');
  split += "k = 1\r\n\r\nEndSect\r";
  const std::tuple<std::string, int, int, int> cases[] = {
      // text, characters, lines, comments
      {"[A] EndSect", 11, 1, 0},  // no newline at the end
      {"; head\n[A]\n  k = 1 // why\n  /* a /* b */ */\nEndSect\n", 52, 6, 4},
      {"", 0, 1, 0},
      {"[A]\r\n  k = 1\r\nEndSect\r\n", 20, 4, 0},  // CR LF counts as one newline
      {"[A]\r k = 1\r\r\nEndSect\r", 20, 2, 0},     // a lone CR is an ordinary blank
      {split, static_cast<int>(split.size()) - 3, 5, 1},
  };
  for (const auto& [text, chars, lines, comments] : cases) {
    SCOPED_TRACE(text.substr(0, 60));
    Handle handle = zem_test::loadText("stats.txt", text);
    EXPECT_EQ(zemGetErrorGlb(), 0);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ((std::tuple{zemNoChars(handle), zemNoLines(handle), zemNoComments(handle)}),
              std::tuple(chars, lines, comments));
    EXPECT_EQ(zemNoTokens(handle), 0);  // token texts are released when the load ends
  }
}
