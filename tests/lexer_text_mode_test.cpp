#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/file_stream.hpp"

namespace {

std::string dropped(std::string text) {
  text.resize(zem::dropPairedCarriageReturns(reinterpret_cast<unsigned char*>(text.data()), text.size()));
  return text;
}

}  // namespace

TEST(LexerTextMode, OnlyACarriageReturnBeforeALineFeedGoes) {
  EXPECT_EQ(dropped("\r\r\n\n\r"), "\r\n\n\r");
  EXPECT_EQ(dropped("1234567\r\n9"), "1234567\n9");
  EXPECT_EQ(dropped("\r\n\r\n\r\n\r\n\r\n\r\n"), "\n\n\n\n\n\n");
  // Every mix of CR, LF and other bytes, at every place of a word.
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
