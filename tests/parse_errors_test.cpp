#include <gtest/gtest.h>

#include <string>

#include "load_support.hpp"
#include "model/named_nodes.hpp"
#include "text/load_handle.hpp"
#include "text/zem_parser.hpp"

using namespace zem;
using zem_test::loadText;
using zem_test::ReportCapture;

namespace {

struct Failure {
  int code;
  bool hasRoot;
  std::string message;
  int line, position;
};

Failure loadFailure(const std::string& text) {
  void* handle = loadText("errors.txt", text);
  Failure f{zemGetErrorGlb(), false, "", 0, 0};
  if (handle == nullptr) return f;
  f.hasRoot = dynamic_cast<CzemLoad*>(static_cast<CzemBase*>(handle))->root() != nullptr;
  const char* message = nullptr;
  zemGetSyntaxErr(handle, &f.line, &f.position, &message);
  f.message = message;
  zemClose(&handle);
  return f;
}

void expectFailure(const std::string& text, const char* message, int line, int position) {
  const Failure f = loadFailure(text);
  EXPECT_EQ(f.code, 1003) << text;
  EXPECT_FALSE(f.hasRoot) << text;
  EXPECT_EQ(f.message, message) << text;
  EXPECT_EQ(f.line, line) << text;
  EXPECT_EQ(f.position, position) << text;
}

std::string nested(int levels) {
  std::string text;
  for (int i = 0; i < levels; ++i) text += "[S]\n";
  text += "k = +1\n";
  for (int i = 0; i < levels; ++i) text += "EndSect\n";
  return text;
}

}  // namespace

TEST(ParseErrors, SyntaxErrorPointsJustAfterTheRejectedToken) {
  expectFailure("[A]\n  x = 1 2 // c\nEndSect", "syntax error", 2, 9);
  expectFailure("[A] x = 1", "syntax error", 1, 9);
  expectFailure("k = 1", "syntax error", 1, 1);
  expectFailure("[A] EndSect EndSect", "syntax error", 1, 19);
  expectFailure("[A] k = 1 = 2 EndSect", "syntax error", 1, 11);
  expectFailure("[A] default k = 1 EndSect", "syntax error", 1, 13);
  expectFailure("[A] k = % 'x' EndSect", "syntax error", 1, 13);
}

TEST(ParseErrors, LexicalErrorEndsTheParseWithItsOwnMessage) {
  expectFailure("[A] EndSect 'abc", "Bad string", 1, 16);
  // The engine's syntax error after the shortened input is dropped.
  expectFailure("[A]\n x = 1 'abc", "Bad string", 2, 11);
  expectFailure("[A] x = 1.e EndSect", "Bad scale factor", 1, 12);
}

TEST(ParseErrors, ConversionErrorIsRecordedRightAfterTheNumber) {
  expectFailure("[A]\n x = 1e999 \nEndSect", "Double overflow (real)", 2, 10);
  expectFailure("[A] x = -" + std::string(400, '9') + " EndSect", "Double overflow (integer)", 1, 409);
}

TEST(ParseErrors, FileKindIsDecidedByTheFirstEvidence) {
  expectFailure("[A] EndSect [A] EndSect [B()] EndSect", "Data: invalid use of ()", 1, 28);
  expectFailure("[A] EndSect [A] EndSect [B] () = 1 EndSect", "Data: invalid use of ()", 1, 30);
  expectFailure("[T()] EndSect [S] k = 1 k = 2 EndSect", "Template: ambiguous identifier", 1, 37);
  expectFailure("[T()] EndSect [S] EndSect [S] EndSect", "Template: ambiguous identifier", 1, 37);
  // A default definition is never ambiguous and "default ()" decides nothing.
  EXPECT_EQ(loadFailure("[A] default (k) = 1 default (k) = 2 default () = 3 EndSect [A] EndSect").code, 0);
  // A section still open is not counted yet: its "()" makes a template.
  expectFailure("[A] EndSect [A] () = 1 EndSect", "Template: ambiguous identifier", 1, 30);
}

TEST(ParseErrors, DefaultReductionsRunBeforeTheSyntaxErrorIsFound) {
  // "k =" takes its empty place and joins its section on the bad token.
  expectFailure("[T()] EndSect\n[S] k = 1\n k = ]", "Template: ambiguous identifier", 3, 6);
}

TEST(ParseErrors, NulByteFailsWhereItStands) {
  expectFailure(std::string("[A] k = 1\0 EndSect", 18), "syntax error", 1, 10);
  // Also where the file could end.
  expectFailure(std::string("[A] EndSect\n\0[B] EndSect", 24), "syntax error", 2, 1);
}

TEST(ParseErrors, StackOverflowBeyondTheNestingLimit) {
  EXPECT_EQ(loadFailure(nested(144)).code, 0);
  expectFailure(nested(145), "yacc stack overflow", 146, 6);
}

TEST(ParseErrors, FailedLoadReportsMessageFileLineAndPosition) {
  const std::string path = std::string(ZEM_TEST_DATA) + "/parse/syntax_error_line7.txt";
  ReportCapture capture;
  void* handle = zemLoadFile(path.c_str(), 0);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  ASSERT_EQ(capture.reports().size(), 1u);
  EXPECT_EQ(capture.reports()[0].text, "Error: syntax error\n in " + path + " near line 7 position 15");
  EXPECT_EQ(capture.reports()[0].kind, 1);
  int line = 0, position = 0;
  const char* message = nullptr;
  EXPECT_STREQ(zemGetSyntaxErr(handle, &line, &position, &message), "syntax error");
  EXPECT_EQ(line, 7);
  EXPECT_EQ(position, 15);
  EXPECT_STREQ(message, "syntax error");
  EXPECT_EQ(dynamic_cast<CzemLoad*>(static_cast<CzemBase*>(handle))->root(), nullptr);
  zemClose(&handle);
  EXPECT_EQ(handle, nullptr);

  capture.clear();
  handle = zemLoadFile(path.c_str(), 1);
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  EXPECT_TRUE(capture.reports().empty());
  zemClose(&handle);
}

TEST(ParseErrors, DamagedFilesEitherParseOrFailCleanly) {
  const std::string sample =
      "// header\r\n[Setup] {aux}\r\n   Name = 'it''s', |a\\b.txt|, #2020-01-01#, %v, {u}\r\n"
      "   Values = 1, -2.5e3, +.5, true,, 7\r\n   default (Values) = 0\r\n   [Inner()]\r\n      () = 1\r\n"
      "   EndSect  // Inner\r\n/* c /* d */ */ EndSect  ; done\r\n";
  std::uint64_t state = 88172645463325252ull;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  const char noise[] = "[](){}=,+-%#|';/*\r\n\0 aE9.";
  for (int round = 0; round < 400; ++round) {
    std::string text = sample;
    for (int edits = 1 + static_cast<int>(next() % 4); edits > 0; --edits) {
      const std::size_t at = next() % (text.size() + 1);
      const char c = noise[next() % (sizeof noise - 1)];
      switch (next() % 3) {
        case 0:
          if (at < text.size()) text[at] = c;
          break;
        case 1:
          text.insert(at, 1, c);
          break;
        default:
          if (at < text.size()) text.erase(at, 1);
          break;
      }
    }
    CzemParser parser(new zem_test::MemoryInput(text, 1 + next() % 16));
    const int result = parser.parse(0);
    if (result == 0) {
      EXPECT_NE(parser.root(), nullptr) << text;
      EXPECT_FALSE(parser.hasError()) << text;
    } else {
      EXPECT_EQ(result, 1) << text;
      EXPECT_EQ(parser.root(), nullptr) << text;
      EXPECT_FALSE(parser.errorMessage().empty()) << text;
    }
    EXPECT_EQ(parser.tokenTexts(), 0u);
  }
}
