// The built zem tool on good and bad files, its output and status: check, get, to-json, from-json, tokens,
// result-folder and result-file.
#include "tool_support.hpp"

namespace {

using namespace zem_tool_test;

std::pair<int, std::string> outcome(const std::string& args) {
  const ToolRun r = run(args);
  return {r.status, r.all()};
}

const std::string kSimulation = ZEM_EXAMPLES "/simulation.txt";

TEST(ToolCheck, ReportsCountsOrWhereAndWhyAFileIsBad) {
  const std::string binary("\177ELF\0\0\1\2[", 9);
  expectRuns({
      {"check " + kSimulation + " " ZEM_EXAMPLES "/simulation_template.txt", 0, "simulation.txt: ok (6 sections, "},
      {"check " + kSimulation + " " ZEM_EXAMPLES "/simulation_template.txt", 0, "simulation_template.txt: ok"},
      {"check - < " + kSimulation, 0, "<stdin>: ok (6 sections, 26 keywords, 32 values)\n", true},
      {"check /nonexistent/zem/file.txt", 1, ""},
      {"check " + testing::TempDir(), 1, "folder"},
      {"check " + writeTemp(".bin", binary), 1, ""},
  });
}

// Each load error keeps the library's text, points at a character (1-based, also at the end of the
// file) and adds a note where to act.
TEST(ToolCheck, LoadErrorsPointAtACharacterAndSayWhereToAct) {
  const std::pair<std::string, std::string> cases[] = {
      // text, expected
      {"[A]\r\n  x = 1\r\n  [B]\r\n  EndSect\r\n",
       "@:4:10: syntax error\n@:1:1: note: section 'A' opened here has no EndSect"},
      {"[A]\n  x = 'abc\n  y = 2\nEndSect\n",
       "@:4:8: Bad string\n@:2:7: note: the string that is not closed begins here"},
      {"[A] EndSect\nx = 1\n",
       "@:2:1: syntax error\n@:2:1: note: 'x' stands outside any section: keywords must stand inside a section"},
      {"[A]\n  x = 1 2\nEndSect\n", "@:2:9: syntax error\n@:2:9: note: values of a keyword are separated by commas"},
      {"[A]\n  y 2\nEndSect\n", "@:2:5: syntax error\n@:2:5: note: Expected '=' for keyword definition"},
      {"[A] EndSect\nEndSect\n", "@:2:7: syntax error\n@:2:1: note: this EndSect closes no section"},
      {"[A]\n /* x = 1\n", "@:2:10: Bad comment\n@:2:2: note: the comment that is not closed begins here"},
      {"[A]\n  x = '<CLOB:1,@>'\nEndSect\n", "@:2:3: CLOB syntax error detected. (A x, value 1 '<CLOB:1,@>', item 2)"},
  };
  const auto named = [](std::string text, const std::string& name) {
    for (std::size_t at = 0; (at = text.find("@:", at)) != std::string::npos; at += name.size())
      text.replace(at, 1, name);
    return text + "\n";
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(outcome("check " + writeTemp(".txt", text)), std::pair(1, named(expected, scratch(".txt")))) << text;
  // to-json fails with the same message; from standard input the name is <stdin>.
  EXPECT_EQ(outcome("to-json " + scratch(".txt")), std::pair(1, named(cases[7].second, scratch(".txt"))));
  EXPECT_EQ(outcome("check - < " + scratch(".txt")), std::pair(1, named(cases[7].second, "<stdin>")));
}

TEST(ToolUsage, UnknownCommandsAndMissingArgumentsAreUsageErrors) {
  EXPECT_EQ(run("--version").all().rfind("zem 0.", 0), 0u);
  for (const std::string& cmd : std::initializer_list<std::string>{
           "", "frobnicate", "fmt", "get " + kSimulation, "from-json", "from-json a.json b.json", "from-json a.json -i",
           "dump", "dump -o", "tokens", "tokens a b", "result-folder", "result-file x Run"})
    EXPECT_EQ(run(cmd).status, 2) << cmd;
  for (const std::string cmd :
       {"", "check", "fmt", "get", "to-json", "from-json", "set", "del", "dump", "tokens", "result-file"}) {
    const ToolRun r = run(cmd + " --help");
    EXPECT_EQ(r.status, 0) << cmd;
    EXPECT_EQ(r.out.rfind("usage: zem " + cmd, 0), 0u) << r.all();
  }
}

TEST(ToolGet, PrintsOneKeywordOrSectionAndFailsOnMissingOnes) {
  const std::string get = "get " + kSimulation + " ";
  std::vector<Expect> cases = {
      {get + "Simulation/Output OutputFile", 0, "examples/results/plate.res|"},
      {get + "Simulation.Boundary:2 Name", 0, "'Right edge'\n", true},
      {"get - Simulation/Boundary:2 < " + kSimulation, 0,
       "Name = 'Right edge'\nType = 1\ndefault (Temperature) = 18.0, 18.5\nTemperature = 18.0, 18.5, 19.0\n", true},
      {get + "simulation", 0, "Restart = false\n[Domain]\n[Solver]\n[Boundary:1]\n[Boundary:2]\n[Output]\n"},
      {"get " + writeTemp(".txt", "[A] k = 1 k = 2 j = 3 EndSect") + " A", 0, "k:1 = 1\nk:2 = 2\nj = 3\n", true},
      {get + "Simulation/Nowhere", 1, ""},
      {get + "Simulation/Solver Nothing", 1, ""},
      {get + "Simulation/Solver Scheme 0", 2, ""},
  };
  for (const std::string path : {"A/B:x", "A//B", "/A", "A/", "A:0"})
    cases.push_back({get + path, 2, "zem: PATH '" + path + "'"});
  expectRuns(cases);
}

TEST(ToolJson, KeepsInstancesValueListsNumberTextsAndKindsApart) {
  const std::string data = writeTemp("d.txt",
                                     "[D]\r\n  K = 1, 2\r\n  K = 1\r\n  K = 2\r\n  R = 3., 3.0, +3, 1E5\r\n"
                                     "  default (K) = , 'it''s'\r\n  [S] EndSect\r\nEndSect\r\n");
  expectRuns({
      {"to-json " + data, 0,
       "[\n  {\"section\": \"D\", \"body\": [\n    {\"keyword\": \"K\", \"values\": [1, 2]},\n"
       "    {\"keyword\": \"K\", \"values\": [1]},\n    {\"keyword\": \"K\", \"values\": [2]},\n"
       "    {\"keyword\": \"R\", \"values\": [{\"real\": \"3.\"}, 3.0, {\"int\": \"+3\"}, 1E5]},\n"
       "    {\"default\": \"K\", \"values\": [null, \"it's\"]},\n    {\"section\": \"S\", \"body\": []}\n  ]}\n]\n",
       true},
      // Template marks, from standard input; relative file names resolve against the current folder.
      {"to-json - < " + writeTemp("t.txt", "[T ()] x() = #d#, %s, {b}, |f| default () = 1 () = 'a' EndSect"), 0,
       "[\n  {\"section\": \"T\", \"template\": true, \"body\": [\n"
       "    {\"keyword\": \"x\", \"template\": true, \"values\": [{\"datetime\": \"d\"}, {\"substitution\": \"s\"}, "
       "{\"braced\": \"b\"}, {\"file\": \"" +
           std::filesystem::current_path().string() +
           "/f\", \"written\": \"f\"}]},\n"
           "    {\"default\": \"\", \"template\": true, \"values\": [1]},\n"
           "    {\"keyword\": \"\", \"template\": true, \"values\": [\"a\"]}\n  ]}\n]\n",
       true},
      // A CLOB keeps its text and shows its items.
      {"to-json " + writeTemp("c.txt", "[A] c = '<CLOB:\"x\",1,2.5,true>' EndSect"), 0,
       "[\n  {\"section\": \"A\", \"body\": [\n    {\"keyword\": \"c\", \"values\": [{\"clob\": "
       "\"\\\"x\\\",1,2.5,true\", \"items\": [\"x\", 1, 2.5, true]}]}\n  ]}\n]\n",
       true},
  });
}

// Every data file of the tree that loads comes back from its JSON with the same names, order,
// instances, values and kinds: the JSON and the library's own listing of the copy are the original's.
TEST(ToolJson, FromJsonReproducesEveryDataFileThatLoads) {
  const std::filesystem::path tests = std::filesystem::path(ZEM_TEST_DATA).parent_path();
  int reproduced = 0;
  for (const std::filesystem::path& tree : {tests, std::filesystem::path(ZEM_EXAMPLES)}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || ext == ".cpp" || ext == ".hpp" || ext == ".c" || ext == ".cmake" ||
          entry.path().filename() == "CMakeLists.txt")
        continue;
      // Both files in one folder, so that relative file names resolve alike.
      const std::string original = scratch("a.txt"), copy = scratch("b.txt");
      std::filesystem::copy_file(entry.path(), original, std::filesystem::copy_options::overwrite_existing);
      const ToolRun json = run("to-json " + original);
      if (json.status != 0) continue;  // does not load
      const ToolRun back = run("from-json - -o " + copy + " < " + writeTemp("a.json", json.out));
      ASSERT_EQ(back.status, 0) << entry.path() << "\n" << back.out;
      EXPECT_EQ(run("to-json " + copy).all(), json.out) << entry.path();
      EXPECT_EQ(run("dump " + copy).all(), run("dump " + original).all()) << entry.path();
      ++reproduced;
    }
  }
  EXPECT_GE(reproduced, 20);
}

// Written into another folder, the name is rewritten so that it still points at the same file.
TEST(ToolJson, FromJsonKeepsFileNamesPointingAtTheirFiles) {
  const std::string json = writeTemp(".json", run("to-json " + writeTemp(".txt", "[A] f = |d\\in.txt| EndSect")).all());
  const std::string dir = scratch("_out");
  std::filesystem::create_directories(dir);
  EXPECT_NE(run("from-json " + json).all().find("f = |d\\in.txt|"), std::string::npos);
  EXPECT_EQ(run("from-json " + json + " -o " + dir + "/b.txt").status, 0);
  EXPECT_EQ(run("get " + dir + "/b.txt A f").all(), "|" + scratchFolder() + "d/in.txt|\n");
}

TEST(ToolJson, FromJsonNamesThePlaceOfWhatItCannotWrite) {
  const std::pair<std::string, std::string> cases[] = {
      {"[{\"section\": \"A\", \"body\": [}]", "1:28: a value is missing"},
      {"[{\"section\": \"A\", \"body\": [\n  {\"keyword\": \"k\", \"vaules\": []}]}]", "2:30: unknown member 'vaules'"},
      {"[{\"keyword\": \"k\", \"values\": [1]}]", "1:2: keywords and default lines must stand inside a section"},
      {"[{\"section\": \"a b\", \"body\": []}]", "1:14: 'a b' is not a name"},
      {"[{\"section\": \"A\", \"body\": [{\"keyword\": \"k\", \"values\": [{\"real\": \"3\"}]}]}]",
       "1:65: '3' is not a real number"},
      {"[{\"section\": \"A\", \"body\": [{\"keyword\": \"k\", \"values\": [{\"datetime\": \"a#b\"}]}]}]",
       "1:69: a date-time cannot hold '#'"},
      {"[{\"section\": \"A\", \"body\": [{\"keyword\": \"k\", \"values\": [\"<CLOB:1>\"]}]}]",
       "1:56: a string of the form <CLOB:...> is a CLOB"},
  };
  for (const auto& [json, message] : cases)
    expectRuns({{"from-json " + writeTemp(".json", json), 1, scratch(".json:") + message}});
}

// Each token with its place and quoted text, up to the first error, which has its place too.
TEST(ToolTokens, ListsEveryTokenAndStopsAtTheFirstError) {
  const std::string file = writeTemp("a.txt", "[A]\n  k = 1\n  EndSect\n x"), open = writeTemp("b.txt", "[A] /* open");
  expectRuns({
      {"tokens " + writeTemp("all.txt", "[A]\r\n  k = 'a \"b\"\\', , -2.5e3\r\n  e = ''\tf = |x\ty| EndSect"), 0,
       "1:1 100 section \"A\"\n2:3 200 keyword \"k\"\n2:7 1030 string \"a \\\"b\\\"\\\\\"\n2:17 1000 novalue \"\"\n"
       "2:19 1021 real \"-2.5e3\"\n3:3 200 keyword \"e\"\n3:7 1030 string \"\"\n3:10 200 keyword \"f\"\n"
       "3:14 1200 filename \"x\\ty\"\n3:20 101 endsect \"\"\n",
       true},
      // A byte-order mark reads as absent.
      {"tokens " + writeTemp("bom.txt", "\xEF\xBB\xBF[A] EndSect"), 0, "1:1 100 section \"A\"\n1:5 101 endsect \"\"\n",
       true},
      {"tokens " + file, 1, "3:3 101 endsect \"\"\n" + file + ":4:2: Format error. Expected start of section '['\n"},
      // An open comment ends the tokens cleanly but is still an error.
      {"tokens " + open, 1, open + ":1:11: Bad comment, missing */\n"},
      // At the end of the file the place is the last line end, not column 0 of a line that is not there.
      {"tokens - < " + writeTemp("c.txt", "[A] k = 'open\n"), 1,
       "1:1 100 section \"A\"\n1:5 200 keyword \"k\"\n<stdin>:1:14: Bad string, missing closing quote '\n", true},
      {"tokens /nonexistent/zem.txt", 1, ""},
      {"tokens " + testing::TempDir(), 1, ""},
  });
}

TEST(ToolResults, ResultFolderAndFileFollowTheTemplateAndTheSystemSection) {
  const std::string setup = "[Run]\n  Out = 'flow.dat', |/abs/x.dat|, 3\nEndSect\n", dir = scratchFolder();
  const std::string file = writeTemp("setup.txt", setup), unset = "-u QXRESULTFOLDERTEMPLATE";
  const std::string custom = writeTemp(
      "custom.txt", setup + "[SYSTEM]\n  UseCustomResultFolder = true\n  CustomResultFolder = |/custom/r|\nEndSect\n");
  const std::string tooLong =
      writeTemp("long.txt", "[SYSTEM] ResultRootFolder = |/" + std::string(250, 'r') + "| EndSect\n");
  const std::string absolute = writeTemp("abs.txt", "[Run] Out = |/abs/x.dat| Count = 3 EndSect");
  expectRuns({
      {"result-folder " + file, 0, dir + "setup.txt - Result Files/\n", true, unset},
      {"result-folder " + file, 0, dir + "setup_v2/\n", true,
       unset + " QXRESULTFOLDERTEMPLATE=%setup2%_%qxresvar% QXRESVAR=v2"},
      {"result-folder " + custom, 0, "/custom/r\n", true, unset},
      {"result-folder " + tooLong, 1, "longer than 259 bytes", false, unset},
      {"result-file " + file + " Run Out", 0, dir + "setup.txt - Result Files/flow.dat\n", true, unset},
      {"result-file " + absolute + " Run Out", 0, "/abs/x.dat\n", true, unset},
      {"result-file " + absolute + " Run Count", 1, "", false, unset},
      {"result-file " + absolute + " Run Nothing", 1, "", false, unset},
      {"result-file " + absolute + " Nowhere Out", 1, "", false, unset},
  });
}

}  // namespace
