#include "test_support.hpp"

using namespace zem;

namespace {

// Loads each text and expects it to fail with its "message line:position", without a tree.
void expectFailures(std::initializer_list<std::pair<std::string, const char*>> failures) {
  for (const auto& [text, error] : failures) {
    SCOPED_TRACE(text.substr(0, 80));
    Handle handle = zem_test::loadText("errors.txt", text);
    EXPECT_EQ(zemGetErrorGlb(), 1003);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(zem_test::rootOf(handle), nullptr);
    EXPECT_EQ(syntaxErrorOf(handle), error);
  }
}

}  // namespace

TEST(ParseErrors, EachFailureHasItsMessageAndPlace) {
  expectFailures({
      // A syntax error points just after the rejected token.
      {"[A]\n  x = 1 2 // c\nEndSect", "syntax error 2:9"},
      {"[A] x = 1", "syntax error 1:9"},
      {"k = 1", "syntax error 1:1"},
      {"[A] EndSect EndSect", "syntax error 1:19"},
      {"[A] k = 1 = 2 EndSect", "syntax error 1:11"},
      {"[A] default k = 1 EndSect", "syntax error 1:13"},
      {"[A] k = % 'x' EndSect", "syntax error 1:13"},
      {"[A]\r\n\r\n  k = 1 2\r\nEndSect\r\n", "syntax error 3:9"},  // CR LF is one newline
      // A NUL byte fails where it stands, also where the file could end.
      {std::string("[A] k = 1\0 EndSect", 18), "syntax error 1:10"},
      {std::string("[A] EndSect\n\0[B] EndSect", 24), "syntax error 2:1"},
      // A lexical error ends the parse with its own message (the engine's syntax error after the
      // shortened input is dropped), a conversion error right after the number: the stored defects
      // of BadInput pin both kinds at their places.
      {"[A] EndSect 'abc", "Bad string 1:16"},
      {"[A] x = -" + std::string(400, '9') + " EndSect", "Double overflow (integer) 1:409"},
      {zem_test::nested(145), "yacc stack overflow 146:6"},
  });
}

TEST(ParseErrors, FileKindIsDecidedByTheFirstEvidence) {
  expectFailures({
      {"[A] EndSect [A] EndSect [B()] EndSect", "Data: invalid use of () 1:28"},
      {"[A] EndSect [A] EndSect [B] () = 1 EndSect", "Data: invalid use of () 1:30"},
      {"[T()] EndSect [S] k = 1 k = 2 EndSect", "Template: ambiguous identifier 1:37"},
      {"[T()] EndSect [S] EndSect [S] EndSect", "Template: ambiguous identifier 1:37"},
      // A section still open is not counted yet: its "()" makes a template.
      {"[A] EndSect [A] () = 1 EndSect", "Template: ambiguous identifier 1:30"},
      // Default reductions run before the syntax error is found: "k =" takes its empty place and
      // joins its section on the bad token.
      {"[T()] EndSect\n[S] k = 1\n k = ]", "Template: ambiguous identifier 3:6"},
  });
  // A default definition is never ambiguous and "default ()" decides nothing.
  Handle handle =
      zem_test::loadText("errors.txt", "[A] default (k) = 1 default (k) = 2 default () = 3 EndSect [A] EndSect");
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST(ParseErrors, NestingUpToTheStackLimitParses) {
  Handle handle = zem_test::loadText("deep144.txt", zem_test::nested(144));
  ASSERT_EQ(zemGetErrorGlb(), 0);
  CzemNode* node = zem_test::rootOf(handle);
  int depth = 0;
  for (; node->GetNoSections() > 0; ++depth) node = node->SectionByNum(1);
  EXPECT_EQ(depth, 144);
  EXPECT_EQ(node->KeywordByNameNum("k", 1)->ParamByNum(1)->GetInt(), 1);
}

TEST(ParseErrors, FailedLoadReportsMessageFileLineAndPosition) {
  const std::string path = std::string(ZEM_TEST_DATA) + "/parse/syntax_error_line7.txt";
  void* handle = nullptr;
  EXPECT_EQ(zem_test::reportKinds([&] { handle = zemLoadFile(path.c_str(), 0); }), std::vector{1});
  zemClose(&handle);
  EXPECT_EQ(handle, nullptr);
  Reports reports;
  handle = zemLoadFile(path.c_str(), 0);
  reports.expect(1003, {"Error: syntax error\n in " + path + " near line 7 position 15"});
  int line = 0, position = 0;
  EXPECT_STREQ(zemGetSyntaxErr(handle, &line, &position, nullptr), "syntax error");
  EXPECT_EQ(std::pair(line, position), std::pair(7, 15));
  zemClose(&handle);
  handle = zemLoadFile(path.c_str(), 1);
  reports.expect(1003, {});
  zemClose(&handle);
}
