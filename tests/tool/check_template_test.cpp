// Runs zem check --template on conforming, deviating and unusable files and checks output and status.
#include "tool_support.hpp"

namespace {

using namespace zem_tool_test;

ToolRun check(const std::string& args) { return run("check " + args); }

const std::string kData = ZEM_TEST_DATA "/equivalence/";
const std::string kTemplate = kData + "template.txt";

TEST(ToolCheckTemplate, ReportsTheFirstDifferenceOrEveryOneInFileOrderWithItsLine) {
  const std::string deviating = kData + "deviating.txt";
  expectRuns({{"check --template " + kTemplate + " " + deviating, 1,
               deviating + ":2: Parameter type conflict No:1 (Values Count)\n", true}});
  const ToolRun r = check("--all --template " + kTemplate + " " + deviating);
  EXPECT_EQ(r.status, 1);
  std::string expected;
  for (const char* line :
       {":2: Parameter type conflict No:1 (Values Count)", ":3: Missing parameters No:2 (Lists Pair)",
        ":4: Too many parameters No:3 (Long Pair)", ":5: Unrecognized keyword (Known B)",
        ":6: Parameter type conflict No:1 (Wildcard Owner)", ":8: Ambiguous candidate section (Repeats/Valve:1)",
        ":9: Ambiguous candidate section (Repeats/Valve:2)", ":12: Ambiguous candidate keyword (Tags Tag:1)",
        ":13: Ambiguous candidate keyword (Tags Tag:2)", ":16: Parameter type conflict No:1 (Nested/Inner/Core X)",
        ":19: Parameter type conflict No:1 (Order Late)", ":20: Parameter type conflict No:1 (Order/Sub K)",
        ":21: Inconsistent number of sections (Order/Stray)", ":24: Parameter type conflict No:1 (Counted Late)",
        ":25: Inconsistent number of sections (Counted/Stray)", ":27: Inconsistent number of sections (Unknown)"})
    expected += deviating + line + "\n";
  EXPECT_EQ(r.all(), expected);
  // The first difference is the library's first, not the first line: unknown subsections come before keywords.
  const std::string counted = writeTemp(".txt", "[Counted]\n  Late = 'x'\n  [Stray] EndSect\nEndSect\n");
  EXPECT_EQ(check("--template " + kTemplate + " " + counted).all(),
            counted + ":3: Inconsistent number of sections (Counted/Stray)\n");
}

TEST(ToolCheckTemplate, TheExampleConformsAndUnusableTemplatesAndCandidatesAreClearFailures) {
  const std::string conforming = kData + "conforming.txt";
  const std::string example = ZEM_EXAMPLES "/simulation.txt", exampleTemplate = ZEM_EXAMPLES "/simulation_template.txt";
  expectRuns({
      {"check --all --template " + exampleTemplate + " " + example, 0,
       example + ": conforms to " + exampleTemplate + "\n", true},
      {"check --template " + writeTemp("_bad.txt", "[A]\n  x = 1 2\nEndSect\n") + " " + conforming, 1,
       "zem: the template cannot be loaded; no file was checked"},
      {"check --template " + writeTemp("_empty.txt", "// nothing yet\n") + " " + conforming, 1,
       "the template holds no sections"},
      // One candidate that cannot be loaded does not stop the others.
      {"check --template " + kTemplate + " /nonexistent/zem/c.txt " + conforming, 1,
       conforming + ": conforms to " + kTemplate},
      {"check --template " + kTemplate + " " + kData + "../equivalence/template.txt", 2, "is the template itself"},
      {"check --template " + kTemplate, 2, "needs at least one FILE"},
      {"check " + conforming + " --template", 2, "--template needs a TEMPLATE"},
      {"check --template " + kTemplate + " --every " + conforming, 2, "unknown option '--every'"},
      {"check --template --help", 0, "usage: zem check --template"},
  });
}

}  // namespace
