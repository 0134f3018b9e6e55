// Runs `zem result-folder` and `zem result-file` with a controlled environment.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct ToolRun {
  int status;
  std::string out;  // standard output, then standard error
};

// Files of each test apart, since ctest runs tests in parallel.
std::string scratch(const std::string& name) {
  const auto dir = std::filesystem::path(testing::TempDir()) / ("zem_results_tool_" + std::to_string(getpid())) /
                   testing::UnitTest::GetInstance()->current_test_info()->name();
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

// `env` holds assignments for the tool's environment only; the template variable starts unset.
ToolRun run(const std::string& env, const std::string& args) {
  const std::string command = "env -u QXRESULTFOLDERTEMPLATE " + env + " " ZEM_TOOL_PATH " " + args + " >" +
                              scratch("out") + " 2>" + scratch("err");
  const int raw = std::system(command.c_str());
  ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, {}};
  for (const char* part : {"out", "err"}) {
    std::ifstream in(scratch(part), std::ios::binary);
    r.out += std::string(std::istreambuf_iterator<char>(in), {});
  }
  return r;
}

std::string setupFile(const std::string& text) {
  const std::string path = scratch("setup.txt");
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const char* const kSetup = "[Run]\n  Out = 'flow.dat', |/abs/x.dat|, 3\nEndSect\n";

}  // namespace

TEST(ToolResults, ResultFolderFollowsTheTemplateAndTheSystemSection) {
  const std::string file = setupFile(kSetup);
  const std::string dir = std::filesystem::path(file).parent_path().string();
  EXPECT_EQ(run("", "result-folder " + file).out, dir + "/setup.txt - Result Files/\n");
  EXPECT_EQ(run("QXRESULTFOLDERTEMPLATE=%setup2%_%qxresvar% QXRESVAR=v2", "result-folder " + file).out,
            dir + "/setup_v2/\n");
  setupFile(std::string(kSetup) +
            "[SYSTEM]\n  UseCustomResultFolder = true\n  CustomResultFolder = |/custom/r|\nEndSect\n");
  EXPECT_EQ(run("", "result-folder " + file).out, "/custom/r\n");
  setupFile("[SYSTEM] ResultRootFolder = |/" + std::string(250, 'r') + "| EndSect\n");
  const ToolRun tooLong = run("", "result-folder " + file);
  EXPECT_EQ(tooLong.status, 1);
  EXPECT_NE(tooLong.out.find("longer than 259 bytes"), std::string::npos) << tooLong.out;
}

TEST(ToolResults, ResultFilePrintsTheFullPathOfAResultFileValue) {
  const std::string file = setupFile(kSetup);
  const std::string dir = std::filesystem::path(file).parent_path().string();
  EXPECT_EQ(run("", "result-file " + file + " Run Out").out, dir + "/setup.txt - Result Files/flow.dat\n");
  setupFile("[Run] Out = |/abs/x.dat| Count = 3 EndSect");
  EXPECT_EQ(run("", "result-file " + file + " Run Out").out, "/abs/x.dat\n");
  for (const char* bad : {" Run Count", " Run Nothing", " Nowhere Out"})
    EXPECT_EQ(run("", "result-file " + file + bad).status, 1) << bad;
  for (const char* usage : {"result-folder", "result-file x Run"}) EXPECT_EQ(run("", usage).status, 2) << usage;
  EXPECT_EQ(run("", "result-file --help").out.rfind("usage: zem result-file", 0), 0u);
}
