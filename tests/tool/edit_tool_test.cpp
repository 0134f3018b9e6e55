// zem set / del / dump: edits change only the node's own bytes, are checked by loading, and leave the file
// untouched when anything fails.
#include <sys/stat.h>

#include "tool_support.hpp"

namespace {

using namespace zem_tool_test;

// Comments, blank lines, tabs and both kinds of line end, which no edit may disturb.
const std::string kFile =
    "// head comment\r\n"
    "[A]\r\n"
    "\tx = 1   ; why\r\n"
    "   y = 'a', 2 {unit}\n"
    "\r\n"
    "   [B]   // inner\r\n"
    "      x = 5\r\n"
    "      x = 6\r\n"
    "   EndSect  // B\r\n"
    "EndSect\r\n"
    "/* tail */\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

}  // namespace

// Printed edits: only the node's own bytes change, and the file itself stays as it was.
TEST(ToolSetAndDel, ReplaceAddOrRemoveOneNodeAndKeepEveryOtherByte) {
  const std::string file = writeTemp(".txt", kFile), set = "set " + file + " ", del = "del " + file + " ";
  const std::string shared = writeTemp("shared.txt", "[A]\n  k = 1  [S]\n  EndSect\nEndSect\n");
  const std::string marked = writeTemp("bom.txt", "\xEF\xBB\xBF[A] x = 1 EndSect\r\n[B] EndSect\r\n");
  expectRuns({
      {set + "A x 2.5", 0, replaced(kFile, "x = 1 ", "x = 2.5 "), true},
      {set + "A y true '|d/f.txt|' '#2024-01-01#'", 0,
       replaced(kFile, "'a', 2 {unit}", "true, |d/f.txt|, #2024-01-01#"), true},
      {set + "A/B x:2 -3 \"'it''s'\" \"it's\"", 0, replaced(kFile, "x = 6", "x = -3, 'it''s', 'it''s'"), true},
      {set + "A/B x:3 word", 0, replaced(kFile, "x = 6\r\n", "x = 6\r\n      x = 'word'\r\n"), true},
      {set + "A z 'two words'", 0,
       replaced(kFile, "   EndSect  // B\r\n", "   EndSect  // B\r\n   z = 'two words'\r\n"), true},
      {del + "A x", 0, replaced(kFile, "\tx = 1   ; why\r\n", ""), true},
      {del + "A/B x 2", 0, replaced(kFile, "      x = 6\r\n", ""), true},
      {del + "A/B", 0, replaced(kFile, "   [B]   // inner\r\n      x = 5\r\n      x = 6\r\n   EndSect  // B\r\n", ""),
       true},
      {del + "A", 0, "// head comment\r\n/* tail */\r\n", true},
      // A keyword sharing its line keeps the rest of the line.
      {"del " + shared + " A k", 0, "[A]\n    [S]\n  EndSect\nEndSect\n", true},
      // The loader reads a byte-order mark as absent, and so do the positions that edits use.
      {"del " + marked + " A", 0, "\xEF\xBB\xBF[B] EndSect\r\n", true},
  });
  EXPECT_EQ(slurp(file), kFile);
}

TEST(ToolEdit, InPlaceAndOutputFilesAreReplacedOnlyByACheckedText) {
  const std::string file = writeTemp(".txt", kFile);
  chmod(file.c_str(), 0640);
  EXPECT_EQ(run("set " + file + " A x 7 -i").status, 0);
  struct stat info {};
  stat(file.c_str(), &info);
  EXPECT_EQ(std::pair(slurp(file), info.st_mode & 0777), std::pair(replaced(kFile, "x = 1 ", "x = 7 "), 0640u));
  EXPECT_EQ(run("del " + file + " A/B -o " + scratch("out.txt")).status, 0);
  EXPECT_EQ(slurp(scratch("out.txt")).find("[B]"), std::string::npos);

  // Texts that would not load, values that do not read back as given, targets that cannot be written.
  const std::string before = slurp(file);
  for (const std::string& args : {"set " + file + " A x \"'a' 'b'\" -i", "set " + file + " A x \"'a','b'\" -i",
                                  "del " + file + " A -o /nonexistent/zem/out.txt"}) {
    const ToolRun r = run(args);
    EXPECT_EQ(std::tuple(r.status, r.err.rfind(file + ":", 0), r.err.find("nothing was changed") != std::string::npos),
              std::tuple(1, 0u, true))
        << args << "\n"
        << r.err;
  }
  EXPECT_EQ(slurp(file), before);
  for (const auto& entry : std::filesystem::directory_iterator(scratchFolder()))
    EXPECT_EQ(entry.path().filename().string().rfind(".zem-edit-", 0), std::string::npos) << entry.path();
}

TEST(ToolEdit, UsageErrorsExit2AndBadInputExits1WithItsPlace) {
  const std::string file = writeTemp(".txt", kFile), bad = writeTemp("bad.txt", "[A]\r\n   x = 1 2\r\nEndSect\r\n");
  std::vector<Expect> cases = {
      {"set " + file + " A/Nowhere x 1", 1, "no section 'A/Nowhere'"},
      {"del " + file + " A/B x 3", 1, file + ":6:4: section 'A/B' has no keyword 'x' (instance 3)"},
      {"set " + file + " A/B x:4 1", 1, ""},  // not the next instance
      {"set " + bad + " A x 1", 1, bad + ":2:"},
  };
  for (const std::string& args : {"set " + file + " A x", "set " + file + " A x:0 1", "del " + file,
                                  "del " + file + " A x 0", "set " + file + " A x 1 -i -o o.txt"})
    cases.push_back({args, 2, ""});
  expectRuns(cases);
}

TEST(ToolDump, PrintsTheListingOrWritesItToAFile) {
  const std::string file = writeTemp(".txt", kFile);
  ToolRun r = run("dump " + file);
  EXPECT_EQ(std::pair(r.status, r.out.substr(0, r.out.find('\n') + 1)),
            std::pair(0, std::string("(2) [A]   (1 sections   2 keywords)   <A>\r\n")));
  EXPECT_NE(r.out.find("      (3) <2,2> x =    (1 params)   <A.B.x>\r\n"), std::string::npos) << r.out;
  EXPECT_EQ(run("dump " + file + " -o " + scratch("dump.txt")).status, 0);
  EXPECT_EQ(slurp(scratch("dump.txt")), r.out);
  EXPECT_EQ(run("dump " + file + " -o /nonexistent/zem/dump.txt").status, 1);
}

// fmt: file names keep pointing at their files from another folder, comments that the form cannot hold are
// counted, and -i does not drop them unasked.
TEST(ToolFmt, MovesFileNamesAlongAndGuardsComments) {
  const std::filesystem::path dir = std::filesystem::path(scratch("_dir"));
  for (const char* sub : {"src", "out"}) std::filesystem::create_directories(dir / sub);
  const std::string file = (dir / "src" / "a.txt").string(), out = (dir / "out" / "b.txt").string();
  const std::string text = "[A]  // why\r\n   f = |data/in.txt|\r\nEndSect  // A\r\n";
  std::ofstream(file, std::ios::binary) << text;
  ToolRun r = run("fmt " + file + " -o " + out);
  EXPECT_EQ(std::pair(r.status, r.err), std::pair(0, file + ": 1 comment dropped\n"));
  EXPECT_NE(slurp(out).find("// Created     : "), std::string::npos) << slurp(out);
  EXPECT_NE(slurp(out).find("   f = |../src/data/in.txt|\r\n"), std::string::npos) << slurp(out);
  EXPECT_EQ(run("get " + out + " A f").out, run("get " + file + " A f").out);
  EXPECT_NE(run("fmt - < " + file).out.find("   f = |data/in.txt|\r\n"), std::string::npos);

  r = run("fmt " + file + " -i");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("holds 1 comment, which fmt does not keep; nothing was changed"), std::string::npos) << r.err;
  EXPECT_EQ(slurp(file), text);
  EXPECT_EQ(run("fmt " + file + " -i --drop-comments").status, 0);
  EXPECT_EQ(slurp(file).find("why"), std::string::npos);
  // The form's own header and EndSect labels are made again, so a formatted file formats in place.
  r = run("fmt " + file + " -i");
  EXPECT_EQ(std::pair(r.status, r.err), std::pair(0, std::string()));
  for (const std::string args : {file + " --drop-comments", file + " -o", file + " -i -o x.txt", std::string("- -i")})
    EXPECT_EQ(run("fmt " + args).status, 2) << args;
}
