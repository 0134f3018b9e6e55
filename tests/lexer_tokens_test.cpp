// The lexer: tokens, lexical errors, which carriage returns the file reader drops, and the counters of a load.
#include <random>

#include "test_support.hpp"
#include "text/file_stream.hpp"
#include "text/token.hpp"
#include "text/zem_parser.hpp"

using namespace zem;
using zem_test::MemoryInput;

namespace {

struct Lexed {
  int code;
  std::string text;
  bool operator==(const Lexed&) const = default;
};
using Tokens = std::vector<Lexed>;

std::ostream& operator<<(std::ostream& os, const Lexed& t) { return os << "{" << t.code << ", \"" << t.text << "\"}"; }

// Every token up to the end, as the parser would see them.
Tokens lex(CzemParser& parser) {
  Tokens out;
  for (TokenText text{nullptr, 0, {}, {}}; out.size() < 1000;) {
    const int code = parser.yylex(&text);
    if (code == kTokEnd) break;
    const bool carriesText = code >= kTokInteger && code <= kTokFilename;
    out.push_back({code, carriesText ? std::string(text.view()) : std::string()});
  }
  return out;
}

struct Outcome {
  Tokens tokens;
  std::string error;
  unsigned line, position, comments;
  std::uint64_t characters;
};

Outcome lex(const std::string& source, std::size_t window = 1 << 16) {
  CzemParser parser(new MemoryInput(source, window));
  // Braced initialisers run in order: the tokens are read first.
  Outcome o{lex(parser), parser.errorMessage(), parser.errorLine(), parser.errorPosition(), parser.comments(), 0};
  o.characters = parser.input().characters();
  return o;
}

std::string dropped(std::string text) {
  text.resize(dropPairedCarriageReturns(reinterpret_cast<unsigned char*>(text.data()), text.size()));
  return text;
}

}  // namespace

TEST(LexerTokens, EveryTokenHasItsCodeAndTextAndCommentsAreSkippedAndCounted) {
  const std::string name(5000, 'n'), content(70000, 'x');
  Tokens punctuation = {{kTokFilename, "C:\\a\\b.txt"}};
  for (char c : std::string("[]()=,+-%/*")) punctuation.push_back({c, ""});
  const struct {
    std::string source;
    Tokens tokens;
    unsigned comments = 0;
  } cases[] = {
      {"12 1.5 .5 12.", {{kTokInteger, "12"}, {kTokReal, "1.5"}, {kTokReal, ".5"}, {kTokReal, "12."}}},
      {"2E7 1.5e-3 3e+2", {{kTokReal, "2E7"}, {kTokReal, "1.5e-3"}, {kTokReal, "3e+2"}}},
      {"TRUE false EndSect", {{kTokBoolean, "TRUE"}, {kTokBoolean, "false"}, {kTokEndSect, "EndSect"}}},
      {"deFault a_1b 'it''s'", {{kTokDefault, "deFault"}, {kTokIdent, "a_1b"}, {kTokString, "it's"}}},
      {"{x\ny z} #2020-01-02 10:00#", {{kTokBraced, "xy z"}, {kTokDateTime, "2020-01-02 10:00"}}},
      {"|C:\\a\\b.txt| [ ] ( ) = , + - % / *", punctuation},
      // Signs and numbers are separate tokens.
      {"-5 +.5", {{'-', ""}, {kTokInteger, "5"}, {'+', ""}, {kTokReal, ".5"}}},
      {"1.5.3", {{kTokReal, "1.5"}, {kTokReal, ".3"}}},
      {"12abc", {{kTokInteger, "12"}, {kTokIdent, "abc"}}},
      // Identifiers start with a letter; bytes above 127 are never letters.
      {"_a", {{'_', ""}, {kTokIdent, "a"}}},
      {"trueish endsect1", {{kTokIdent, "trueish"}, {kTokIdent, "endsect1"}}},
      {"a\xC3\xA9", {{kTokIdent, "a"}, {0xC3, ""}, {0xA9, ""}}},
      // Quoted and braced texts keep their content; braces do not nest.
      {"'a\nb' '' ''''", {{kTokString, "a\nb"}, {kTokString, ""}, {kTokString, "'"}}},
      {"{a{b}c}", {{kTokBraced, "a{b"}, {kTokIdent, "c"}, {'}', ""}}},
      {"{} ## ||", {{kTokBraced, ""}, {kTokDateTime, ""}, {kTokFilename, ""}}},
      {name + " '" + content + "'", {{kTokIdent, name}, {kTokString, content}}},  // the buffer grows
      // NUL outside texts is an invalid token.
      {std::string("a\0b", 3), {{kTokIdent, "a"}, {kTokInvalid, ""}, {kTokIdent, "b"}}},
      {std::string("'a\0b'", 5), {{kTokString, std::string("a\0b", 3)}}},
      {"/* a /* b */ c */ [X]", {{'[', ""}, {kTokIdent, "X"}, {']', ""}}, 2},
      {"; one\n// two\n;\nk /* a */;b\n= 1", {{kTokIdent, "k"}, {'=', ""}, {kTokInteger, "1"}}, 5},
      {"  \t\n ; only comments\n/**/", {}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.substr(0, 40));
    const Outcome o = lex(c.source);
    EXPECT_EQ(o.tokens, c.tokens);
    EXPECT_EQ(o.comments, c.comments);
    EXPECT_EQ(o.error, "");
  }
}

TEST(LexerErrors, EveryLexicalErrorHasItsMessageAndPlace) {
  const std::tuple<const char*, const char*, unsigned, unsigned> cases[] = {{"a /* x /* y */\n z", "Bad comment", 2, 2},
                                                                            {"a {x\ny", "Missing }", 2, 1},
                                                                            {"a\n 'abc", "Bad string", 2, 5},
                                                                            {"a .x", "Expecting digit", 1, 3},
                                                                            {"1.5ex", "Bad scale factor", 1, 5},
                                                                            {"2e+x", "Bad scale factor", 1, 3},
                                                                            {"2E", "Bad scale factor", 1, 2},
                                                                            {"#2020\nx", "Missing #", 2, 0},
                                                                            {"#2020", "Missing #", 1, 5},
                                                                            {"|a\\b\nx", "Missing |", 1, 4},
                                                                            {"x |ab", "Missing |", 1, 5}};
  for (const auto& [source, message, line, position] : cases) {
    for (std::size_t window : {1, 1 << 16}) {
      SCOPED_TRACE(source);
      const Outcome o = lex(source, window);
      EXPECT_EQ(std::tuple(o.error, o.line, o.position), std::tuple(message, line, position));
    }
  }
}

TEST(LexerErrors, NoTokenIsReadAfterAnErrorTheFirstErrorWinsAndABufferThatCannotGrowFails) {
  CzemParser parser(new MemoryInput("a 'open\n[X]", 4));
  EXPECT_EQ(lex(parser), (Tokens{{kTokIdent, "a"}}));
  EXPECT_EQ(parser.errorMessage(), "Bad string");
  const std::uint64_t consumed = parser.input().characters();
  EXPECT_EQ(lex(parser), Tokens{});
  EXPECT_EQ(parser.input().characters(), consumed);
  parser.setError("second");
  EXPECT_EQ(parser.errorMessage(), "Bad string");
  // A buffer that cannot grow fails the token.
  CzemParser limited(new MemoryInput("short " + std::string(200, 'y'), 1 << 16));
  limited.setTokenLimit(128);
  EXPECT_EQ(lex(limited), (Tokens{{kTokIdent, "short"}}));
  EXPECT_EQ(limited.errorMessage(), "Failed to extend buffer");
}

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
