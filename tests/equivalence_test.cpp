// Template checks: loaded templates and candidates, built templates with the flags a file cannot express, the
// order of the checks, the report layouts and the quiet flag.
#include <pthread.h>

#include "test_support.hpp"

namespace {

const std::string kData = ZEM_TEST_DATA "/equivalence/";

class Equivalence : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (auto [handle, file] : {std::pair{&templ, "template.txt"},
                                {&conforming, "conforming.txt"},
                                {&deviating, "deviating.txt"},
                                {&runs, "runs.txt"}})
      *handle = zemLoadFile((kData + file).c_str(), 0);
  }
  static void TearDownTestSuite() {
    for (void** handle : {&templ, &conforming, &deviating, &runs}) zemClose(handle);
  }
  static void* section(void* handle, const char* name, unsigned n = 1) { return zemTargetByNameNum(handle, name, n); }
  // Expects the check of the pair to fail with `report`, or to pass when it is empty.
  void expectCheck(void* t, void* c, const std::string& report) {
    EXPECT_EQ(zemEquivalent(t, c, nullptr), report.empty() ? 1 : 0) << report;
    reports.expect(0, report.empty() ? Texts{} : Texts{report});
  }

  static inline void *templ, *conforming, *deviating, *runs;
  Handle built;
  Reports reports;
};

TEST_F(Equivalence, LoadedCandidatesConformOrReportTheirFirstDifference) {
  for (unsigned n = 1; void* candidate = zemTargetByNum(conforming, n); ++n)
    expectCheck(section(templ, zemGetName(candidate)), candidate, "");
  expectCheck(section(templ, "Repeats"), section(templ, "Repeats"), "");
  const std::pair<const char*, std::string> cases[] = {
      {"Values", "Error: Parameter type conflict\n\tKeyw: Values.Count\n\tNo:1"},
      {"Lists", "Error: Missing parameters\n\tKeyw: Lists.Pair\n\tNo:2"},
      {"Long", "Error: Too many parameters\n\tKeyw: Long.Pair\n\tNo:3"},
      {"Known", "Error: Unrecognized keyword\n\tTemp: Known.B"},
      {"Wildcard", "Error: Parameter type conflict\n\tKeyw: Wildcard.Owner\n\tNo:1"},
      {"Repeats", "Error: Ambiguous candidate section\n\tTemp: Repeats.Valve\n\tCand: Repeats.Valve"},
      {"Tags", "Error: Ambiguous candidate keyword\n\tTemp: Tags.Tag\n\tCand: Tags.Tag"},
      {"Nested", "Error: Parameter type conflict\n\tKeyw: Nested.Inner.Core.X\n\tNo:1"},
      // Subsections come before keywords, unknown subsections too.
      {"Order", "Error: Parameter type conflict\n\tKeyw: Order.Sub.K\n\tNo:1"},
      {"Counted", "Error: Inconsistent number of sections\n\tTemp: Counted\n\tCand: Counted"},
  };
  for (const auto& [name, report] : cases) expectCheck(section(templ, name), section(deviating, name), report);
  // Differences go to the message library with their own kind, mismatched node types with the plain one.
  EXPECT_EQ(zem_test::reportKinds([] {
              zemEquivalent(section(templ, "Values"), section(deviating, "Values"), nullptr);
              zemEquivalent(section(templ, "Values"), zemKeywordByNum(section(templ, "Values"), 1), nullptr);
            }),
            (std::vector<int>{17, 0}));
}

TEST_F(Equivalence, PairsThatCannotConformAreReportedAsSuch) {
  void* values = section(templ, "Values");
  void* title = zemKeywordByNum(values, 1);
  void* valve = zemSectionByNum(section(deviating, "Repeats"), 1);
  void* tag = zemKeywordByNum(section(deviating, "Tags"), 1);
  const std::pair<std::pair<void*, void*>, std::string> cases[] = {
      {{values, section(templ, "Lists")}, "Error: Section name conflict\n\tTemp: Values\n\tCand: Lists"},
      {{title, zemKeywordByNum(values, 2)}, "Error: Keyword name conflict\n\tTemp: Values.Title\n\tCand: Values.Count"},
      {{zemGetRoot(templ), zemGetRoot(conforming)}, "Error: Two sections required\n\tTemp: \n\tCand: "},
      {{valve, valve}, "Error: Ambiguous template section\n\tTemp: Repeats.Valve\n\tCand: Repeats.Valve"},
      {{tag, tag}, "Error: Ambiguous template keyword\n\tTemp: Tags.Tag\n\tCand: Tags.Tag"},
      {{values, title}, "Conflicting zemNode types"},
      {{zemParamByNum(title, 1), zemParamByNum(title, 1)}, "Conflicting zemNode types"},
  };
  for (const auto& [pair, report] : cases) expectCheck(pair.first, pair.second, report);
}

TEST_F(Equivalence, NonNodesAreCode1006AndQuietSilencesEveryReport) {
  void* values = section(templ, "Values");
  EXPECT_EQ(zemEquivalentExt(nullptr, templ, nullptr, 0), 0);
  reports.expect(1006, Texts(2, "Invalid zemNode"));
  EXPECT_EQ(zemEquivalentExt(values, nullptr, nullptr, 7) + zemIsEqvQuiet(), 7);
  reports.expect(1006, {});
  EXPECT_EQ(zemEquivalentExt(values, section(deviating, "Values"), nullptr, 1) + zemIsEqvQuiet(), 1);
  EXPECT_EQ(zemEquivalentExt(values, zemKeywordByNum(values, 1), nullptr, 1), 0);
  reports.expect(0, {});
  EXPECT_EQ(zemEquivalent(values, section(conforming, "Values"), nullptr) + zemIsEqvQuiet(), 1);
}

TEST_F(Equivalence, BuiltKeywordDefinitionsMatchValuesByViewAndMayRepeatTheirLast) {
  // The definition's codes and last-repeats flag, the Run section checked against it, the report.
  const std::tuple<const char*, int, unsigned, std::string> cases[] = {
      {"id", 1, 1, ""},
      {"id", 1, 2, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:2"},
      {"id", 1, 3, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:4"},
      {"id", 1, 4, "Error: Missing parameters\n\tKeyw: T.Series\n\tNo:2"},
      {"id", 0, 1, "Error: Too many parameters\n\tKeyw: T.Series\n\tNo:3"},
      // Nothing to repeat: the flag alone admits no values.
      {"", 1, 4, "Error: Too many parameters\n\tKeyw: T.Series\n\tNo:1"},
      // 2.0 has an int view, 1e300 no float view.
      {"if", 0, 5, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:2"},
      {"di", 0, 6, ""},
      {"ii", 0, 6, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:1"},
      // An empty place of a keyword line is no number.
      {"di", 0, 7, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:1"},
  };
  for (const auto& [codes, lastRepeats, run, report] : cases) {
    built = createDocument("T");
    zemAddKeywordDef(built, "Series", codes, 0, 0, lastRepeats);
    expectCheck(zemKeywordByNum(zemTargetByNum(built, 1), 1), zemKeywordByNum(section(runs, "Run", run), 1), report);
  }
}

TEST_F(Equivalence, RequiredSectionsMustBePresentAndDefaultsStandForTheirPlaceholders) {
  built = createDocument("Plant");
  zemAddSectionDef(built, "Pump", 1, 1);
  zemEndSection(built);
  zemAddSectionDef(built, "Motor", 0, 1);
  expectCheck(zemTargetByNum(built, 1), section(runs, "Plant"), "Error: Missing section\n\tTemp: Plant.Motor");

  zem::CzemTargetList root;
  auto* values = new zem::CzemSection("Values");
  root.addSection(values);
  auto* defaults = new zem::CzemDefaultDef("Count");
  defaults->addParam(new zem::CzemInt(5));
  values->addDefaultDef(defaults);
  for (const char* name : {"Count", "Ratio"}) {
    values->addKeyword(new zem::CzemKeyword(name));
    values->keywords().back()->addParam(new zem::CzemDefaultPar());
  }
  void* templValues = section(templ, "Values");
  expectCheck(zemKeywordByNum(templValues, 2), asVoid(values->keywords()[0]), "");
  expectCheck(zemKeywordByNum(templValues, 3), asVoid(values->keywords()[1]),
              "Error: Unresolved default value\n\tKeyw: Values.Ratio\n\tNo:1");
}

// Two chains of 10 000 sections, alike down to the last value, checked on a 512 KB stack: the walk
// must not recurse level by level, and a difference at the bottom is still found and reported.
TEST_F(Equivalence, DeepChainsAreComparedWithoutExhaustingTheStack) {
  constexpr int kDepth = 10000;
  const auto chain = [](bool text) {
    void* doc = createDocument("S");
    for (int i = 1; i < kDepth; ++i) zemAddSection(doc, "S");
    zemAddKeyword(doc, "k");
    text ? zemAddString(doc, "x") : zemAddInt(doc, 1);
    return doc;
  };
  Handle templ = chain(false), same = chain(false), other = chain(true);
  std::pair<int, int> results{-1, -1};
  auto body = [&] {
    results = {zemEquivalent(zemTargetByNum(templ, 1), zemTargetByNum(same, 1), nullptr),
               zemEquivalent(zemTargetByNum(templ, 1), zemTargetByNum(other, 1), nullptr)};
  };
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 512 * 1024);
  pthread_t thread;
  const auto run = [](void* p) -> void* { return (*static_cast<decltype(body)*>(p))(), nullptr; };
  ASSERT_EQ(pthread_create(&thread, &attr, run, &body), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(results, std::pair(1, 0));
  std::string path;
  for (int i = 0; i < kDepth; ++i) path += "S.";
  reports.expect(0, {"Error: Parameter type conflict\n\tKeyw: " + path + "k\n\tNo:1"});
}

}  // namespace
