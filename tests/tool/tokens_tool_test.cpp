// Runs `zem tokens` on good and bad files and checks its listing and status.
#include "tool_support.hpp"

namespace {

using namespace zem_tool_test;

ToolRun tokens(const std::string& args) { return run("tokens " + args); }
std::string writeTemp(const std::string& content) { return zem_tool_test::writeTemp(".txt", content); }

TEST(ToolTokens, ListsEveryTokenWithItsPlaceAndQuotedText) {
  const ToolRun r = tokens(writeTemp("[A]\r\n  k = 'a \"b\"\\', , -2.5e3\r\n  e = ''\tf = |x\ty| EndSect"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "1:1 100 section \"A\"\n"
            "2:3 200 keyword \"k\"\n"
            "2:7 1030 string \"a \\\"b\\\"\\\\\"\n"
            "2:17 1000 novalue \"\"\n"
            "2:19 1021 real \"-2.5e3\"\n"
            "3:3 200 keyword \"e\"\n"
            "3:7 1030 string \"\"\n"
            "3:10 200 keyword \"f\"\n"
            "3:14 1200 filename \"x\\ty\"\n"
            "3:20 101 endsect \"\"\n");
  // A byte-order mark reads as absent.
  EXPECT_EQ(tokens(writeTemp("\xEF\xBB\xBF[A] EndSect")).out, "1:1 100 section \"A\"\n1:5 101 endsect \"\"\n");
}

TEST(ToolTokens, StopsAtTheFirstErrorWithItsPlace) {
  std::string file = writeTemp("[A]\n  k = 1\n  EndSect\n x");
  ToolRun r = tokens(file);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, file + ":4:2: Format error. Expected start of section '['\n");
  EXPECT_EQ(r.out.substr(r.out.rfind("3:")), "3:3 101 endsect \"\"\n");
  // An open comment ends the tokens cleanly but is still an error.
  r = tokens(writeTemp("[A] /* open"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, file + ":1:11: Bad comment, missing */\n");
  // At the end of the file the place is the last line end, not column 0 of a line that is not there.
  r = tokens("- < " + writeTemp("[A] k = 'open\n"));
  EXPECT_EQ(r.err, "<stdin>:1:14: Bad string, missing closing quote '\n");
  EXPECT_EQ(r.out, "1:1 100 section \"A\"\n1:5 200 keyword \"k\"\n");
  EXPECT_EQ(tokens("/nonexistent/zem.txt").status, 1);
  EXPECT_EQ(tokens(testing::TempDir()).status, 1);
}

}  // namespace
