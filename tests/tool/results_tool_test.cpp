// Runs `zem result-folder` and `zem result-file` with a controlled environment.
#include "tool_support.hpp"

namespace {

using namespace zem_tool_test;

// `env` holds assignments for the tool's environment only; the template variable starts unset.
ToolRun inEnv(const std::string& env, const std::string& args) {
  return zem_tool_test::run(args, "-u QXRESULTFOLDERTEMPLATE " + env);
}

std::string setupFile(const std::string& text) { return writeTemp("setup.txt", text); }

const char* const kSetup = "[Run]\n  Out = 'flow.dat', |/abs/x.dat|, 3\nEndSect\n";

}  // namespace

TEST(ToolResults, ResultFolderFollowsTheTemplateAndTheSystemSection) {
  const std::string file = setupFile(kSetup);
  const std::string dir = std::filesystem::path(file).parent_path().string();
  EXPECT_EQ(inEnv("", "result-folder " + file).all(), dir + "/setup.txt - Result Files/\n");
  EXPECT_EQ(inEnv("QXRESULTFOLDERTEMPLATE=%setup2%_%qxresvar% QXRESVAR=v2", "result-folder " + file).all(),
            dir + "/setup_v2/\n");
  setupFile(std::string(kSetup) +
            "[SYSTEM]\n  UseCustomResultFolder = true\n  CustomResultFolder = |/custom/r|\nEndSect\n");
  EXPECT_EQ(inEnv("", "result-folder " + file).all(), "/custom/r\n");
  setupFile("[SYSTEM] ResultRootFolder = |/" + std::string(250, 'r') + "| EndSect\n");
  const ToolRun tooLong = inEnv("", "result-folder " + file);
  EXPECT_EQ(tooLong.status, 1);
  EXPECT_NE(tooLong.all().find("longer than 259 bytes"), std::string::npos) << tooLong.all();
}

TEST(ToolResults, ResultFilePrintsTheFullPathOfAResultFileValue) {
  const std::string file = setupFile(kSetup);
  const std::string dir = std::filesystem::path(file).parent_path().string();
  EXPECT_EQ(inEnv("", "result-file " + file + " Run Out").all(), dir + "/setup.txt - Result Files/flow.dat\n");
  setupFile("[Run] Out = |/abs/x.dat| Count = 3 EndSect");
  EXPECT_EQ(inEnv("", "result-file " + file + " Run Out").all(), "/abs/x.dat\n");
  for (const char* bad : {" Run Count", " Run Nothing", " Nowhere Out"})
    EXPECT_EQ(inEnv("", "result-file " + file + bad).status, 1) << bad;
}
