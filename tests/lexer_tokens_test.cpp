#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "load_support.hpp"
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

std::ostream& operator<<(std::ostream& os, const Lexed& t) { return os << "{" << t.code << ", \"" << t.text << "\"}"; }

bool carriesText(int code) { return code >= kTokInteger && code <= kTokFilename; }

// Every token up to the end (at most `limit`), as the parser would see them.
std::vector<Lexed> lex(CzemParser& parser, std::size_t limit = 1000) {
  std::vector<Lexed> out;
  for (std::size_t i = 0; i < limit; ++i) {
    TokenText text{nullptr, 0};
    const int code = parser.yylex(&text);
    if (code == kTokEnd) break;
    out.push_back({code, carriesText(code) ? std::string(text.view()) : std::string()});
  }
  return out;
}

std::vector<Lexed> lex(const std::string& source, std::size_t window = 1 << 16) {
  CzemParser parser(new MemoryInput(source, window));
  return lex(parser);
}

struct Outcome {
  std::vector<Lexed> tokens;
  std::string error;
  unsigned line, position, comments;
  std::uint64_t characters;
};

Outcome lexOutcome(const std::string& source, std::size_t window = 1 << 16) {
  CzemParser parser(new MemoryInput(source, window));
  Outcome o;
  o.tokens = lex(parser);
  o.error = parser.errorMessage();
  o.line = parser.errorLine();
  o.position = parser.errorPosition();
  o.comments = parser.comments();
  o.characters = parser.input().characters();
  return o;
}

}  // namespace

TEST(LexerTokens, EveryTokenKindHasItsCodeAndText) {
  const std::vector<Lexed> expected = {{kTokInteger, "12"},
                                       {kTokReal, "1.5"},
                                       {kTokReal, ".5"},
                                       {kTokReal, "12."},
                                       {kTokReal, "2E7"},
                                       {kTokReal, "1.5e-3"},
                                       {kTokReal, "3e+2"},
                                       {kTokBoolean, "TRUE"},
                                       {kTokBoolean, "false"},
                                       {kTokEndSect, "EndSect"},
                                       {kTokDefault, "deFault"},
                                       {kTokIdent, "a_1b"},
                                       {kTokString, "it's"},
                                       {kTokBraced, "xy z"},
                                       {kTokDateTime, "2020-01-02 10:00"},
                                       {kTokFilename, "C:\\a\\b.txt"},
                                       {'[', ""},
                                       {']', ""},
                                       {'(', ""},
                                       {')', ""},
                                       {'=', ""},
                                       {',', ""},
                                       {'+', ""},
                                       {'-', ""},
                                       {'%', ""},
                                       {'/', ""},
                                       {'*', ""}};
  const std::string source =
      "12 1.5 .5 12. 2E7 1.5e-3 3e+2 TRUE false EndSect deFault a_1b 'it''s' {x\ny z}"
      " #2020-01-02 10:00# |C:\\a\\b.txt| [ ] ( ) = , + - % / *";
  EXPECT_EQ(lex(source), expected);
}

TEST(LexerTokens, SignsAndNumbersAreSeparateTokens) {
  EXPECT_EQ(lex("-5 +.5"), (std::vector<Lexed>{{'-', ""}, {kTokInteger, "5"}, {'+', ""}, {kTokReal, ".5"}}));
  EXPECT_EQ(lex("1.5.3"), (std::vector<Lexed>{{kTokReal, "1.5"}, {kTokReal, ".3"}}));
  EXPECT_EQ(lex("12abc"), (std::vector<Lexed>{{kTokInteger, "12"}, {kTokIdent, "abc"}}));
}

TEST(LexerTokens, IdentifiersStartWithALetterOnly) {
  EXPECT_EQ(lex("_a"), (std::vector<Lexed>{{'_', ""}, {kTokIdent, "a"}}));
  EXPECT_EQ(lex("trueish endsect1"), (std::vector<Lexed>{{kTokIdent, "trueish"}, {kTokIdent, "endsect1"}}));
  // Bytes above 127 are never letters.
  EXPECT_EQ(lex("a\xC3\xA9"), (std::vector<Lexed>{{kTokIdent, "a"}, {0xC3, ""}, {0xA9, ""}}));
}

TEST(LexerTokens, QuotedAndBracedTextsKeepTheirContent) {
  EXPECT_EQ(lex("'a\nb' '' ''''"), (std::vector<Lexed>{{kTokString, "a\nb"}, {kTokString, ""}, {kTokString, "'"}}));
  // Braces do not nest: the first '}' closes.
  EXPECT_EQ(lex("{a{b}c}"), (std::vector<Lexed>{{kTokBraced, "a{b"}, {kTokIdent, "c"}, {'}', ""}}));
  EXPECT_EQ(lex("{} ## ||"), (std::vector<Lexed>{{kTokBraced, ""}, {kTokDateTime, ""}, {kTokFilename, ""}}));
}

TEST(LexerTokens, LongTextsGrowTheBuffer) {
  const std::string name(5000, 'n');
  const std::string content(70000, 'x');
  EXPECT_EQ(lex(name + " '" + content + "'"), (std::vector<Lexed>{{kTokIdent, name}, {kTokString, content}}));
}

TEST(LexerTokens, CommentsAreSkippedAndCounted) {
  Outcome o = lexOutcome("/* a /* b */ c */ [X]");
  EXPECT_EQ(o.tokens, (std::vector<Lexed>{{'[', ""}, {kTokIdent, "X"}, {']', ""}}));
  EXPECT_EQ(o.comments, 2u);

  o = lexOutcome("; one\n// two\n;\nk /* a */;b\n= 1");
  EXPECT_EQ(o.tokens, (std::vector<Lexed>{{kTokIdent, "k"}, {'=', ""}, {kTokInteger, "1"}}));
  EXPECT_EQ(o.comments, 5u);

  o = lexOutcome("  \t\n ; only comments\n/**/");
  EXPECT_TRUE(o.tokens.empty());
  EXPECT_EQ(o.comments, 2u);
  EXPECT_EQ(o.error, "");
}

TEST(LexerTokens, NulOutsideTextsIsAnInvalidToken) {
  EXPECT_EQ(lex(std::string("a\0b", 3)), (std::vector<Lexed>{{kTokIdent, "a"}, {kTokInvalid, ""}, {kTokIdent, "b"}}));
  EXPECT_EQ(lex(std::string("'a\0b'", 5)), (std::vector<Lexed>{{kTokString, std::string("a\0b", 3)}}));
}

TEST(LexerTokens, WindowBoundariesChangeNothing) {
  const std::string source =
      "[Sec] ; c\r\n  key {aux} = 1.5e+3, -7, 'it''s', |f\\g|, #d#, %x, {b\nr} // x\n"
      "/* a /* b */ */ EndSect 12. .5 word_ 2E7";
  const Outcome whole = lexOutcome(source);
  ASSERT_EQ(whole.error, "");
  for (std::size_t window : {1, 2, 3, 5, 8}) {
    const Outcome part = lexOutcome(source, window);
    EXPECT_EQ(part.tokens, whole.tokens) << "window " << window;
    EXPECT_EQ(part.characters, whole.characters) << "window " << window;
    EXPECT_EQ(part.comments, whole.comments) << "window " << window;
  }
}

TEST(LexerErrors, EveryLexicalErrorHasItsMessageAndPlace) {
  struct Case {
    const char* source;
    const char* message;
    unsigned line, position;
  };
  const Case cases[] = {
      {"a /* x /* y */\n z", "Bad comment", 2, 2},
      {"a {x\ny", "Missing }", 2, 1},
      {"a\n 'abc", "Bad string", 2, 5},
      {"a .x", "Expecting digit", 1, 3},
      {"1.5ex", "Bad scale factor", 1, 5},
      {"2e+x", "Bad scale factor", 1, 3},
      {"2E", "Bad scale factor", 1, 2},
      {"#2020\nx", "Missing #", 2, 0},
      {"#2020", "Missing #", 1, 5},
      {"|a\\b\nx", "Missing |", 1, 4},
      {"x |ab", "Missing |", 1, 5},
  };
  for (const Case& c : cases) {
    for (std::size_t window : {1, 1 << 16}) {
      const Outcome o = lexOutcome(c.source, window);
      EXPECT_EQ(o.error, c.message) << c.source;
      EXPECT_EQ(o.line, c.line) << c.source;
      EXPECT_EQ(o.position, c.position) << c.source;
    }
  }
}

TEST(LexerErrors, NoTokenIsReadAfterAnError) {
  CzemParser parser(new MemoryInput("a 'open\n[X]", 4));
  EXPECT_EQ(lex(parser), (std::vector<Lexed>{{kTokIdent, "a"}}));
  EXPECT_EQ(parser.errorMessage(), "Bad string");
  const std::uint64_t consumed = parser.input().characters();
  TokenText text{nullptr, 0};
  EXPECT_EQ(parser.yylex(&text), kTokEnd);
  EXPECT_EQ(parser.input().characters(), consumed);
}

TEST(LexerErrors, ABufferThatCannotGrowFailsTheToken) {
  CzemParser parser(new MemoryInput("short " + std::string(200, 'y'), 1 << 16));
  parser.setTokenLimit(128);
  EXPECT_EQ(lex(parser), (std::vector<Lexed>{{kTokIdent, "short"}}));
  EXPECT_EQ(parser.errorMessage(), "Failed to extend buffer");
}

TEST(LexerErrors, TheFirstErrorWins) {
  CzemParser parser(new MemoryInput("x", 8));
  parser.setError("first");
  parser.setError("second");
  EXPECT_EQ(parser.errorMessage(), "first");
}
