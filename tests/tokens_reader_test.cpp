#include <array>
#include <map>

#include "test_support.hpp"
#include "tokens/token_reader.hpp"

namespace {

// Every token up to the end as "code:text" (the text left out when empty), each error recorded on the
// way as "!message@line:column" after the token that recorded it.
std::string tokensOf(const std::string& content, std::size_t blockSize = zem::tokens::TokenSource::kBlockSize) {
  CzemTokenReader* reader = nullptr;
  if (CzemTokenReader::open(zem_test::writeTempFile("tokens.txt", content).c_str(), &reader, blockSize) != 0)
    return "not opened";
  std::string out, lastError;
  for (int code = -1, n = 0; code != 0 && n < 100; ++n) {
    code = reader->next();
    out += (out.empty() ? "" : " ") + std::to_string(code) + (*reader->text() != '\0' ? ":" : "") + reader->text();
    int line, column;
    const std::string error = reader->error(line, column);
    const std::string at = error + "@" + std::to_string(line) + ":" + std::to_string(column);
    if (!error.empty() && at != lastError) out += "!" + (lastError = at);
  }
  zemtDispose(&reader);
  return out;
}

const std::pair<std::string, const char*> kCases[] = {
    // content, tokens
    {"[A] k = 1, 'x''y', |f.txt| EndSect", "100:A 200:k 1020:1 1030:x'y 1200:f.txt 101 0"},
    {"[A] [B] EndSect EndSect", "100:A 100:B 101 101 0"},
    {"[A] k = v = 2 EndSect", "100:A 200:k 1000 200:v 1020:2 101 0"},
    {"[A] k = TRUE EndSect",
     "100:A 200:k 1000 -1:TRUE!Expected '=' for keyword definition@1:14 -1:ndSect!Expected '=' for keyword "
     "definition@1:20 0"},
    {"", "0"},
    {" ; only a comment", "0"},
    {"k = 1", "-1!Format error. Expected start of section '['@1:1 0"},
    {"[A] k = 1", "100:A 200:k 1020:1 0"},
    {"[A]\n  k = trueish = false, 'two\nlines' EndSectX",
     "100:A 200:k 1010 200:ish 1011 1030:two\nlines 101 -1!Format error. Expected start of section '['@3:15 0"},
    {"[A] n = -3.5, .5, 12., 1e5, +7, 1E-2, 1.5e+3, -, 0",
     "100:A 200:n 1021:-3.5 1021:.5 1021:12. 1021:1e5 1020:+7 1021:1E-2 1021:1.5e+3 1020:-, -1!Expected EndSect "
     "definition@1:49 -1!Format error. Expected start of section '['@1:50 0"},
    {"[A] n = -", "100:A 200:n 1020:- 0"},
    {"[A] n = .x", "100:A 200:n -1:.!Expecting digit after .@1:9 -1:x!Expected '=' for keyword definition@1:10 0"},
    {"[A] n = 1e+x",
     "100:A 200:n -1:1e!Bad floating point exponent definition (e/E)@1:11 -1:x!Expected '=' for keyword "
     "definition@1:12 0"},
    {"[A] n = 1.e", "100:A 200:n -1:1.e!Bad floating point exponent definition (e/E)@1:11 0"},
    {"[A b]", "-1:A!Bad section, expected ]@1:3 -1!Format error. Expected start of section '['@1:4 0"},
    {"[AB", "-1:AB!Bad section, missing ], end of file reached@1:3 0"},
    {"[A] 5 EndSect", "100:A -1!Expected EndSect definition@1:4 -1!Format error. Expected start of section '['@1:5 0"},
    // Near the end fewer characters remain than a word has: what lies behind them in memory is no input.
    {"[A]\n[B]\n       EndSect En", "100:A 100:B 101 -1:En!Expected '=' for keyword definition@3:17 0"},
    {"[A] endsect", "100:A -1:endsect!Expected '=' for keyword definition@1:11 0"},
    {"[A] s = 'a\nb", "100:A 200:s -1:a\nb!Bad string, missing closing quote '@2:1 0"},
    {"[A] f = |a b", "100:A 200:f -1:a b!Bad filename string, missing closing bar |@1:12 0"},
    {"[A] {note} k /* c */ = 1 ; rest\n// x\nEndSect", "100:A 200:k 1020:1 101 0"},
    {"[A] k = 1 {open", "100:A 200:k 1020:1 0!Bad comment, missing }@1:15"},
    {"[A] k = /* open", "100:A 200:k 1000!Bad comment, missing */@1:15 0"},
    {"/*/ open", "0!Bad comment, missing */@1:8"},
    {"[A] k = / EndSect",
     "100:A 200:k 1000 -1!Expected EndSect definition@1:8 -1!Format error. Expected start of section '['@1:9 0"},
    // A CR alone is a blank that ends no line, and stays in a quoted text; a CR LF pair is one newline.
    {"[A]\rk = 'a\rb'\rx", "100:A 200:k 1030:a\rb -1:x!Expected '=' for keyword definition@1:15 0"},
    {"[A]\r; c\rk = 1", "100:A 0"},
    {"[A]\r\n; c\r\nk = 'a\r\nb'\r\nx", "100:A 200:k 1030:a\nb -1:x!Expected '=' for keyword definition@5:1 0"},
    {std::string("[A] k = 'a\0b'\0", 14),
     "100:A 200:k 1030:a -1!Expected EndSect definition@1:13 -1!Format error. Expected start of section '['@1:14 0"},
    {"[A]\xc3\xa9 k = \xff",
     "100:A -1!Expected EndSect definition@1:3 -1!Format error. Expected start of section '['@1:4 0"},
};

using Start = std::array<int, 3>;  // code, line, column

// Reads to the end, giving each token's code and start.
std::vector<Start> startsOf(CzemTokenReader* reader) {
  std::vector<Start> out;
  int code = -1;
  for (int n = 0; code != 0 && n < 100; ++n) {
    Start& s = out.emplace_back(Start{code = zemtNextToken(reader), 0, 0});
    zemtGetTokenPosition(reader, &s[1], &s[2]);
  }
  return out;
}

}  // namespace

TEST(TokenReader, TokensAndErrorsAreTheSameWhereverABlockEnds) {
  for (const auto& [content, tokens] : kCases) {
    EXPECT_EQ(tokensOf(content), tokens) << content;
    EXPECT_EQ(tokensOf(content, 1), tokens) << content;
  }
}

TEST(TokenReader, ExportsKeepTheirContractAndLeaveTheGlobalErrorAlone) {
  Reports reports;
  CzemTokenReader* reader = nullptr;
  for (const char* name : {"/nonexistent/zem.txt", testing::TempDir().c_str(), static_cast<const char*>(nullptr)})
    EXPECT_EQ(zemtLoadFile(name, &reader), 1001);
  EXPECT_EQ(reader, nullptr);
  const std::string file = zem_test::writeTempFile("contract.txt", "[A]\r\n  k = 5\r\nx");
  EXPECT_EQ(zemtLoadFile(file.c_str(), nullptr), 1004);
  int line = 7, column = 7;
  EXPECT_STREQ(zemtGetError(nullptr, &line, &column), "");
  EXPECT_EQ(std::pair(line, column), std::pair(-1, -1));
  EXPECT_EQ(zemtNextToken(nullptr), -2);
  EXPECT_STREQ(zemtGetTokenString(nullptr), "");
  zemtGetTokenPosition(nullptr, nullptr, nullptr);
  ASSERT_EQ(zemtLoadFile(file.c_str(), &reader), 0);
  EXPECT_STREQ(zemtGetError(reader, &line, &column), "");
  EXPECT_EQ(std::pair(line, column), std::pair(0, 0));
  EXPECT_EQ(startsOf(reader), (std::vector<Start>{{100, 1, 1}, {200, 2, 3}, {1020, 2, 7}, {-1, 3, 1}, {0, 3, 2}}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(zemtNextToken(reader), 0);
  EXPECT_STREQ(zemtGetError(reader, nullptr, nullptr), "Expected '=' for keyword definition");
  zemtDispose(&reader);
  EXPECT_EQ(reader, nullptr);
  zemtDispose(&reader);
  zemtDispose(nullptr);
}

TEST(TokenReader, CountersFollowTheCharactersOfTextMode) {
  CzemTokenReader* reader = nullptr;
  ASSERT_EQ(
      CzemTokenReader::open(zem_test::writeTempFile("counters.txt", "[A]\r\nk = 1\r\rEndSect").c_str(), &reader, 2), 0);
  while (reader->next() != 0) {
  }
  const zem::tokens::TokenSource& source = reader->source();
  EXPECT_EQ((std::array{source.characters(), source.line(), source.column()}), (std::array{18u, 2u, 14u}));
  zemtDispose(&reader);
}

TEST(TokenReader, AFileCutShortWhileReadFailsAndARemovedOneReadsToItsEnd) {
  std::string content = "[A]\n";
  for (int i = 0; i < 20000; ++i) content += "  k = " + std::to_string(i) + "\n";
  const std::string file = zem_test::writeTempFile("cut.txt", content + "EndSect\n");
  auto readAll = [&](auto whileOpen) {
    CzemTokenReader* reader = nullptr;
    EXPECT_EQ(zemtLoadFile(file.c_str(), &reader), 0);
    EXPECT_EQ(zemtNextToken(reader), 100);
    whileOpen();
    int code, tokens = 1;
    while ((code = zemtNextToken(reader)) > 0) ++tokens;
    const std::string result = std::to_string(code) + " " + zemtGetError(reader, nullptr, nullptr);
    EXPECT_EQ(zemtNextToken(reader), 0);
    zemtDispose(&reader);
    return std::pair(tokens, result);
  };
  const auto [cutTokens, cut] = readAll([&] { EXPECT_EQ(truncate(file.c_str(), 1000), 0); });
  EXPECT_EQ(cut, "-1 Read error, file truncated or unreadable");
  EXPECT_LT(cutTokens, 40000);
  writeFile(file, content + "EndSect\n");
  EXPECT_EQ(readAll([&] { EXPECT_EQ(unlink(file.c_str()), 0); }), std::pair(40002, std::string("0 ")));
}

TEST(TokenReader, LongTokensComeWholeAndDeepNestingReadsThrough) {
  const std::string big(10 << 20, 'x');
  CzemTokenReader* reader = nullptr;
  ASSERT_EQ(zemtLoadFile(zem_test::writeTempFile("big.txt", "[A] s = '" + big + "'").c_str(), &reader), 0);
  for (int code : {100, 200, 1030}) EXPECT_EQ(zemtNextToken(reader), code);
  EXPECT_TRUE(zemtGetTokenString(reader) == big);
  EXPECT_EQ(zemtNextToken(reader), 0);
  zemtDispose(&reader);
  constexpr int kDepth = 100000;
  ASSERT_EQ(zemtLoadFile(zem_test::writeTempFile("deep.txt", zem_test::nested(kDepth)).c_str(), &reader), 0);
  std::map<int, int> counts;
  for (int code; (code = zemtNextToken(reader)) != 0 && counts.size() < 10;) ++counts[code];
  EXPECT_EQ(counts, (std::map<int, int>{{100, kDepth}, {101, kDepth}, {200, 1}, {1020, 1}}));
  EXPECT_STREQ(zemtGetError(reader, nullptr, nullptr), "");
  zemtDispose(&reader);
}
