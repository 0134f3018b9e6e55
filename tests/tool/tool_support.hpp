// Running the built zem tool in the tests: scratch files of each test and the captured output.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zem_tool_test {

struct ToolRun {
  int status;
  std::string out, err;
  std::string all() const { return out + err; }
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The folder of the running test's files; ctest runs tests in parallel, so each test and process has its own.
inline std::string scratchFolder() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  const auto dir = std::filesystem::path(testing::TempDir()) / ("zem_tool_" + std::to_string(getpid())) /
                   (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::create_directories(dir);
  return dir.string() + "/";
}

inline std::string scratch(const std::string& name) { return scratchFolder() + name; }

inline std::string writeTemp(const std::string& name, const std::string& content) {
  std::ofstream(scratch(name), std::ios::binary) << content;
  return scratch(name);
}

// Runs `zem args`; `env` holds assignments (or `-u NAME`) for the tool's environment only.
inline ToolRun run(const std::string& args, const std::string& env = "") {
  const std::string command = (env.empty() ? "" : "env " + env + " ") + ZEM_TOOL_PATH " " + args + " >" +
                              scratch("run.out") + " 2>" + scratch("run.err");
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(scratch("run.out")), slurp(scratch("run.err"))};
}

// One run and what it must give: the exit status and a text that standard output and error together
// hold (`exact`: are).
struct Expect {
  std::string args;
  int status;
  std::string text;
  bool exact = false;
  std::string env = "";
};

inline void expectRuns(const std::vector<Expect>& cases) {
  for (const Expect& c : cases) {
    const ToolRun r = run(c.args, c.env);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.all();
    if (c.exact)
      EXPECT_EQ(r.all(), c.text) << c.args;
    else
      EXPECT_NE(r.all().find(c.text), std::string::npos) << c.args << "\n" << r.all();
  }
}

}  // namespace zem_tool_test
