// Runs zem check --template on conforming, deviating and unusable files and checks output and status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <string>

namespace {

struct ToolRun {
  int status;
  std::string out;  // standard output, then standard error
};

// ctest runs tests in parallel: each test writes files of its own.
std::string scratch(const std::string& name) {
  return testing::TempDir() + "zem_check_template_" + testing::UnitTest::GetInstance()->current_test_info()->name() +
         name;
}

ToolRun check(const std::string& args) {
  const int raw =
      std::system((ZEM_TOOL_PATH " check " + args + " >" + scratch(".out") + " 2>" + scratch(".err")).c_str());
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

const std::string kData = ZEM_TEST_DATA "/equivalence/";
const std::string kTemplate = kData + "template.txt";

TEST(ToolCheckTemplate, ConformingFilesAreNamedAndTheExampleConformsToItsTemplate) {
  const std::string example = ZEM_EXAMPLES "/simulation.txt", exampleTemplate = ZEM_EXAMPLES "/simulation_template.txt";
  ToolRun r = check("--template " + exampleTemplate + " " + example);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, example + ": conforms to " + exampleTemplate + "\n");
  r = check(kData + "conforming.txt --all --template " + kTemplate);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, kData + "conforming.txt: conforms to " + kTemplate + "\n");
}

TEST(ToolCheckTemplate, ReportsTheFirstDifferenceOrEveryOneInFileOrderWithItsLine) {
  const std::string deviating = kData + "deviating.txt", more = kData + "more_deviations.txt";
  ToolRun r = check("--template " + kTemplate + " " + deviating + " " + more);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, deviating + ":4: Parameter type conflict No:1 (Values Count)\n" + more +
                       ":4: Too many parameters No:3 (Lists Pair)\n");
  r = check("--all --template " + kTemplate + " " + deviating + " " + more);
  EXPECT_EQ(r.status, 1);
  std::string expected;
  for (const char* line :
       {":4: Parameter type conflict No:1 (Values Count)", ":8: Missing parameters No:2 (Lists Pair)",
        ":13: Unrecognized keyword (Known B)", ":17: Parameter type conflict No:1 (Wildcard Owner)",
        ":21: Ambiguous candidate section (Repeats/Valve:1)", ":24: Ambiguous candidate section (Repeats/Valve:2)",
        ":32: Parameter type conflict No:1 (Nested/Inner/Core X)", ":38: Parameter type conflict No:1 (Order Late)",
        ":40: Parameter type conflict No:1 (Order/Sub K)", ":42: Inconsistent number of sections (Order/Stray)"})
    expected += deviating + line + "\n";
  for (const char* line :
       {":4: Too many parameters No:3 (Lists Pair)", ":8: Ambiguous candidate keyword (Repeats Tag:1)",
        ":9: Ambiguous candidate keyword (Repeats Tag:2)", ":13: Parameter type conflict No:1 (Order Late)",
        ":14: Inconsistent number of sections (Order/Stray)", ":18: Inconsistent number of sections (Unknown)"})
    expected += more + line + "\n";
  EXPECT_EQ(r.out, expected);
  // The library's first difference stays the first: here the unknown subsection before the keyword above it.
  r = check("--template " + kTemplate + " " +
            writeTemp(".txt", "[Order]\n  Late = 'x'\n  [Stray]\n  EndSect\nEndSect\n"));
  EXPECT_EQ(r.out, scratch(".txt") + ":3: Inconsistent number of sections (Order/Stray)\n");
}

TEST(ToolCheckTemplate, UnusableTemplatesAndCandidatesAreClearFailures) {
  const std::string conforming = kData + "conforming.txt";
  struct Case {
    std::string args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"--template /nonexistent/zem/t.txt " + conforming, 1, "the template cannot be loaded"},
      {"--template " + writeTemp("_bad.txt", "[A]\n  x = 1 2\nEndSect\n") + " " + conforming, 1, "_bad.txt:2:"},
      {"--template " + writeTemp("_empty.txt", "// nothing yet\n") + " " + conforming, 1,
       "the template holds no sections"},
      // One candidate that cannot be loaded does not stop the others.
      {"--template " + kTemplate + " /nonexistent/zem/c.txt " + conforming, 1,
       conforming + ": conforms to " + kTemplate},
      {"--template " + kTemplate + " " + testing::TempDir(), 1, "folder"},
      {"--template " + kTemplate + " " + kData + "../equivalence/template.txt", 2, "is the template itself"},
      {"--template " + kTemplate, 2, "needs at least one FILE"},
      {conforming + " --template", 2, "--template needs a TEMPLATE"},
      {"--template " + kTemplate + " --template " + kTemplate + " " + conforming, 2, "given twice"},
      {"--template " + kTemplate + " --every " + conforming, 2, "unknown option '--every'"},
      {"--template --help", 0, "usage: zem check --template"},
  };
  for (const Case& c : cases) {
    const ToolRun r = check(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
  }
}

}  // namespace
