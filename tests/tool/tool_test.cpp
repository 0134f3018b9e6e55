// Runs the built zem tool on good and bad files and checks output and status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct ToolRun {
  int status;
  std::string out;  // standard output and standard error, in that order
};

ToolRun run(const std::string& args) {
  // ctest runs tests in parallel: each test captures into files of its own.
  const std::string stem =
      testing::TempDir() + "zem_tool_" + testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string outFile = stem + ".out";
  const std::string errFile = stem + ".err";
  const std::string command = std::string(ZEM_TOOL_PATH) + " " + args + " >" + outFile + " 2>" + errFile;
  const int raw = std::system(command.c_str());
  ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, {}};
  for (const std::string& f : {outFile, errFile}) {
    std::ifstream in(f, std::ios::binary);
    r.out += std::string(std::istreambuf_iterator<char>(in), {});
  }
  return r;
}

std::string example(const char* name) { return std::string(ZEM_EXAMPLES) + "/" + name; }

std::string writeTemp(const std::string& name, const std::string& content) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

TEST(ToolCheck, ReportsCountsOfTheBundledExample) {
  const ToolRun r = run("check " + example("simulation.txt") + " " + example("simulation_template.txt"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("simulation.txt: ok (6 sections, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("simulation_template.txt: ok"), std::string::npos) << r.out;
}

TEST(ToolCheck, ReportsFileLineColumnAndMessageOfAParseError) {
  const std::string bad = writeTemp("bad_value.txt", "[A]\r\n   x = 1 2\r\nEndSect\r\n");
  const ToolRun r = run("check " + bad);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(bad + ":2:"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("syntax error"), std::string::npos) << r.out;
}

TEST(ToolCheck, BadInputGivesAMessageAndStatusOne) {
  EXPECT_EQ(run("check /nonexistent/zem/file.txt").status, 1);
  const ToolRun folder = run("check " + testing::TempDir());
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.out.find("folder"), std::string::npos);
  const ToolRun binary = run("check " + writeTemp("binary.bin", std::string("\x7f"
                                                                            "ELF\0\0\x01\x02[",
                                                                            9)));
  EXPECT_EQ(binary.status, 1) << binary.out;
}

TEST(ToolUsage, UnknownCommandsAndMissingArgumentsAreUsageErrors) {
  EXPECT_EQ(run("").status, 2);
  EXPECT_EQ(run("frobnicate").status, 2);
  EXPECT_EQ(run("get " + example("simulation.txt")).status, 2);
  EXPECT_EQ(run("fmt").status, 2);
  for (const char* cmd : {"--help", "check --help", "fmt --help", "get --help", "to-json --help"}) {
    const ToolRun r = run(cmd);
    EXPECT_EQ(r.status, 0) << cmd;
    EXPECT_NE(r.out.find("usage: zem"), std::string::npos) << cmd;
  }
}

TEST(ToolGet, PrintsOneKeywordWithResolvedFileNames) {
  const ToolRun r = run("get " + example("simulation.txt") + " Simulation/Output OutputFile");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("examples/results/plate.res|"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.front(), '|');
}

TEST(ToolGet, SelectsRepeatedSectionsByInstance) {
  const ToolRun r = run("get " + example("simulation.txt") + " Simulation.Boundary:2 Name");
  EXPECT_EQ(r.out, "'Right edge'\n");
  const ToolRun all = run("get " + example("simulation.txt") + " simulation/solver");
  EXPECT_NE(all.out.find("Tolerance = 1e-6\n"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("Scheme = 'implicit'\n"), std::string::npos) << all.out;
}

TEST(ToolGet, AMissingSectionOrKeywordIsInvalidInput) {
  EXPECT_EQ(run("get " + example("simulation.txt") + " Simulation/Nowhere").status, 1);
  EXPECT_EQ(run("get " + example("simulation.txt") + " Simulation/Solver Nothing").status, 1);
  EXPECT_EQ(run("get " + example("simulation.txt") + " Simulation/Solver Scheme 0").status, 2);
}

TEST(ToolFmt, WritesTheLibrarysFormThatLoadsAgain) {
  const std::string out = testing::TempDir() + "formatted.txt";
  EXPECT_EQ(run("fmt " + example("simulation.txt") + " -o " + out).status, 0);
  const ToolRun again = run("check " + out);
  EXPECT_EQ(again.status, 0) << again.out;
  const ToolRun text = run("fmt " + example("simulation.txt"));
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("// Created     : "), std::string::npos);
  EXPECT_NE(text.out.find("      Mesh = |data\\mesh.txt|\r\n"), std::string::npos) << text.out;
}

TEST(ToolJson, KeepsKindsOfValues) {
  const ToolRun r = run("to-json " + example("simulation.txt"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\"Version\": 3"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"Restart\": false"), std::string::npos);
  EXPECT_NE(r.out.find("\"Boundary\": ["), std::string::npos);
  EXPECT_NE(r.out.find("{\"datetime\": \"2024-03-01 00:00:00\"}"), std::string::npos);
  EXPECT_NE(r.out.find("{\"substitution\": \"scale\"}"), std::string::npos);
  EXPECT_NE(r.out.find("\"items\": [\"surface temperature\", 1, true, {\"file\": "), std::string::npos) << r.out;
}

}  // namespace
