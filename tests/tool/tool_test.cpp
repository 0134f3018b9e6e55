// Runs the built zem tool on good and bad files and checks output and status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <string>

namespace {

struct ToolRun {
  int status;
  std::string out;  // standard output and standard error, in that order
};

// ctest runs tests in parallel: each test writes files of its own.
std::string scratch(const std::string& name) {
  return testing::TempDir() + "zem_tool_" + testing::UnitTest::GetInstance()->current_test_info()->name() + name;
}

ToolRun run(const std::string& args) {
  const int raw = std::system((ZEM_TOOL_PATH " " + args + " >" + scratch(".out") + " 2>" + scratch(".err")).c_str());
  ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, {}};
  for (const char* part : {".out", ".err"}) {
    std::ifstream in(scratch(part), std::ios::binary);
    r.out += std::string(std::istreambuf_iterator<char>(in), {});
  }
  return r;
}

std::string writeTemp(const std::string& name, const std::string& content) {
  std::ofstream(scratch(name), std::ios::binary) << content;
  return scratch(name);
}

const std::string kSimulation = ZEM_EXAMPLES "/simulation.txt";

TEST(ToolCheck, ReportsCountsOrWhereAndWhyAFileIsBad) {
  ToolRun r = run("check " + kSimulation + " " ZEM_EXAMPLES "/simulation_template.txt");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("simulation.txt: ok (6 sections, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("simulation_template.txt: ok"), std::string::npos) << r.out;
  const std::string bad = writeTemp("bad.txt", "[A]\r\n   x = 1 2\r\nEndSect\r\n");
  r = run("check " + bad);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(bad + ":2:"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("syntax error"), std::string::npos) << r.out;
  EXPECT_EQ(run("check /nonexistent/zem/file.txt").status, 1);
  r = run("check " + testing::TempDir());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("folder"), std::string::npos);
  EXPECT_EQ(run("check " + writeTemp(".bin", std::string("\x7f"
                                                         "ELF\0\0\x01\x02[",
                                                         9)))
                .status,
            1);
}

TEST(ToolUsage, UnknownCommandsAndMissingArgumentsAreUsageErrors) {
  for (const std::string& cmd : std::initializer_list<std::string>{"", "frobnicate", "fmt", "get " + kSimulation})
    EXPECT_EQ(run(cmd).status, 2) << cmd;
  for (const char* cmd : {"--help", "check --help", "fmt --help", "get --help", "to-json --help"}) {
    const ToolRun r = run(cmd);
    EXPECT_EQ(r.status, 0) << cmd;
    EXPECT_NE(r.out.find("usage: zem"), std::string::npos) << cmd;
  }
}

TEST(ToolGet, PrintsOneKeywordOrSectionAndFailsOnMissingOnes) {
  ToolRun r = run("get " + kSimulation + " Simulation/Output OutputFile");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.front(), '|');
  EXPECT_NE(r.out.find("examples/results/plate.res|"), std::string::npos) << r.out;
  EXPECT_EQ(run("get " + kSimulation + " Simulation.Boundary:2 Name").out, "'Right edge'\n");
  r = run("get " + kSimulation + " simulation/solver");
  EXPECT_NE(r.out.find("Tolerance = 1e-6\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Scheme = 'implicit'\n"), std::string::npos) << r.out;
  for (const char* missing : {" Simulation/Nowhere", " Simulation/Solver Nothing"})
    EXPECT_EQ(run("get " + kSimulation + missing).status, 1) << missing;
  EXPECT_EQ(run("get " + kSimulation + " Simulation/Solver Scheme 0").status, 2);
}

TEST(ToolFormats, FmtWritesTheLibrarysFormAndToJsonKeepsKindsOfValues) {
  EXPECT_EQ(run("fmt " + kSimulation + " -o " + scratch(".txt")).status, 0);
  ToolRun r = run("check " + scratch(".txt"));
  EXPECT_EQ(r.status, 0) << r.out;
  r = run("fmt " + kSimulation);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("// Created     : "), std::string::npos);
  EXPECT_NE(r.out.find("      Mesh = |data\\mesh.txt|\r\n"), std::string::npos) << r.out;
  r = run("to-json " + kSimulation);
  EXPECT_EQ(r.status, 0) << r.out;
  for (const char* part :
       {"\"Version\": 3", "\"Restart\": false", "\"Boundary\": [", "{\"datetime\": \"2024-03-01 00:00:00\"}",
        "{\"substitution\": \"scale\"}", "\"items\": [\"surface temperature\", 1, true, {\"file\": "})
    EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
}

}  // namespace
