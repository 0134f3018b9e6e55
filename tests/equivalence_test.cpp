// Template checks: loaded templates against loaded candidates, built templates with the flags a file cannot
// express, the order of the checks, the report layouts and the quiet flag.
#include "load_support.hpp"

namespace {

const std::string kData = ZEM_TEST_DATA "/equivalence/";

class Equivalence : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (auto [handle, file] : {std::pair{&templ, "template.txt"},
                                {&conforming, "conforming.txt"},
                                {&deviating, "deviating.txt"},
                                {&more, "more_deviations.txt"}})
      *handle = zemLoadFile((kData + file).c_str(), 0);
  }
  static void TearDownTestSuite() {
    for (void** handle : {&templ, &conforming, &deviating, &more}) zemClose(handle);
  }
  void TearDown() override {
    if (built != nullptr) zemClose(&built);
  }

  static void* section(void* handle, const char* name, unsigned n = 1) { return zemTargetByNameNum(handle, name, n); }
  // A building handle holding one top-level section `name`, open for definitions.
  void* buildTemplate(const char* name) {
    built = zemCreate();
    zemAddTarget(built, name);
    return zemTargetByNum(built, 1);
  }

  static inline void* templ = nullptr;
  static inline void* conforming = nullptr;
  static inline void* deviating = nullptr;
  static inline void* more = nullptr;
  void* built = nullptr;
  Reports reports;
};

TEST_F(Equivalence, EveryTemplateSectionAcceptsItsConformingCounterpart) {
  ASSERT_EQ(zemGetNoTargets(conforming), 7);
  for (unsigned n = 1; n <= 7; ++n) {
    void* candidate = zemTargetByNum(conforming, n);
    EXPECT_EQ(zemEquivalent(section(templ, zemGetName(candidate)), candidate, nullptr), 1) << zemGetName(candidate);
  }
  // A section conforms to itself when its names are unique.
  EXPECT_EQ(zemEquivalent(section(templ, "Repeats"), section(templ, "Repeats"), nullptr), 1);
  reports.expect(0, {});
}

TEST_F(Equivalence, TheFirstDifferenceIsReportedWithThePathsOfItsNodes) {
  struct Case {
    void** candidate;
    const char* section;
    std::string report;
  };
  const Case cases[] = {
      {&deviating, "Values", "Error: Parameter type conflict\n\tKeyw: Values.Count\n\tNo:1"},
      {&deviating, "Lists", "Error: Missing parameters\n\tKeyw: Lists.Pair\n\tNo:2"},
      {&more, "Lists", "Error: Too many parameters\n\tKeyw: Lists.Pair\n\tNo:3"},
      {&deviating, "Known", "Error: Unrecognized keyword\n\tTemp: Known.B"},
      {&deviating, "Wildcard", "Error: Parameter type conflict\n\tKeyw: Wildcard.Owner\n\tNo:1"},
      {&deviating, "Repeats", "Error: Ambiguous candidate section\n\tTemp: Repeats.Valve\n\tCand: Repeats.Valve"},
      {&more, "Repeats", "Error: Ambiguous candidate keyword\n\tTemp: Repeats.Tag\n\tCand: Repeats.Tag"},
      {&deviating, "Nested", "Error: Parameter type conflict\n\tKeyw: Nested.Inner.Core.X\n\tNo:1"},
      // Subsections are checked before keywords, and the count of unknown subsections before keywords too.
      {&deviating, "Order", "Error: Parameter type conflict\n\tKeyw: Order.Sub.K\n\tNo:1"},
      {&more, "Order", "Error: Inconsistent number of sections\n\tTemp: Order\n\tCand: Order"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(zemEquivalent(section(templ, c.section), section(*c.candidate, c.section), nullptr), 0) << c.report;
    reports.expect(0, {c.report});
  }
  // Differences go to the message library with their own kind; the mismatched types with the plain one.
  EXPECT_EQ(zem_test::reportKinds([] {
              zemEquivalent(section(templ, "Values"), section(deviating, "Values"), nullptr);
              zemEquivalent(section(templ, "Values"), zemKeywordByNum(section(templ, "Values"), 1), nullptr);
            }),
            (std::vector<int>{17, 0}));
}

TEST_F(Equivalence, PairsThatCannotConformAreReportedAsSuch) {
  void* values = section(templ, "Values");
  void* title = zemKeywordByNum(values, 1);
  built = zemCreate();
  zemAddTarget(built, "");
  const std::pair<std::pair<void*, void*>, std::string> cases[] = {
      {{values, section(templ, "Lists")}, "Error: Section name conflict\n\tTemp: Values\n\tCand: Lists"},
      {{title, zemKeywordByNum(values, 2)}, "Error: Keyword name conflict\n\tTemp: Values.Title\n\tCand: Values.Count"},
      {{zemTargetByNum(built, 1), values}, "Error: Blank section name\n\tTemp: \n\tCand: Values"},
      {{zemGetRoot(templ), zemGetRoot(conforming)}, "Error: Two sections required\n\tTemp: \n\tCand: "},
      {{values, zemGetRoot(conforming)}, "Error: Two sections required\n\tTemp: Values\n\tCand: "},
      {{zemSectionByNum(section(deviating, "Repeats"), 1), zemSectionByNum(section(deviating, "Repeats"), 1)},
       "Error: Ambiguous template section\n\tTemp: Repeats.Valve\n\tCand: Repeats.Valve"},
      {{zemKeywordByNum(section(more, "Repeats"), 2), zemKeywordByNum(section(more, "Repeats"), 2)},
       "Error: Ambiguous template keyword\n\tTemp: Repeats.Tag\n\tCand: Repeats.Tag"},
      {{values, title}, "Conflicting zemNode types"},
      {{zemParamByNum(title, 1), zemParamByNum(title, 1)}, "Conflicting zemNode types"},
  };
  for (const auto& [pair, report] : cases) {
    EXPECT_EQ(zemEquivalent(pair.first, pair.second, nullptr), 0) << report;
    reports.expect(0, {report});
  }
}

TEST_F(Equivalence, NonNodesAreCode1006AndQuietSilencesEveryReport) {
  void* values = section(templ, "Values");
  EXPECT_EQ(zemEquivalentExt(nullptr, templ, nullptr, 0), 0);
  reports.expect(1006, Texts(2, "Invalid zemNode"));
  EXPECT_EQ(zemEquivalentExt(values, nullptr, nullptr, 7), 0);
  reports.expect(1006, {});
  EXPECT_EQ(zemIsEqvQuiet(), 7);
  for (void* candidate : {section(deviating, "Values"), zemKeywordByNum(values, 1)}) {
    EXPECT_EQ(zemEquivalentExt(values, candidate, nullptr, 1), 0);
    reports.expect(0, {});
  }
  EXPECT_EQ(zemEquivalentExt(values, section(conforming, "Values"), nullptr, 1), 1);
  EXPECT_EQ(zemIsEqvQuiet(), 1);
  EXPECT_EQ(zemEquivalent(values, section(deviating, "Values"), nullptr), 0);
  EXPECT_EQ(zemIsEqvQuiet(), 0);
  EXPECT_EQ(reports.take().size(), 1u);
}

TEST_F(Equivalence, BuiltKeywordDefinitionsMatchValuesByKindAndMayRepeatTheirLast) {
  struct Case {
    const char* codes;
    int lastRepeats;
    unsigned run;
    std::string report;  // empty: conforms
  };
  const Case cases[] = {
      {"id", 1, 1, ""},
      {"id", 1, 2, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:2"},
      {"id", 1, 3, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:4"},
      {"id", 1, 4, "Error: Missing parameters\n\tKeyw: T.Series\n\tNo:2"},
      {"id", 0, 1, "Error: Too many parameters\n\tKeyw: T.Series\n\tNo:3"},
      // Nothing to repeat: the flag alone admits no values.
      {"", 1, 4, "Error: Too many parameters\n\tKeyw: T.Series\n\tNo:1"},
      // 2.0 has an int view; 1e300 has no float view.
      {"if", 0, 5, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:2"},
      {"di", 0, 6, ""},
      {"ii", 0, 6, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:1"},
      // An empty place of a keyword line is an undefined value, not a number.
      {"di", 0, 7, "Error: Parameter type conflict\n\tKeyw: Run.Series\n\tNo:1"},
  };
  void* runs = zemLoadFile((kData + "runs.txt").c_str(), 0);
  for (const Case& c : cases) {
    buildTemplate("T");
    zemAddKeywordDef(built, "Series", c.codes, 0, 0, c.lastRepeats);
    void* candidate = zemKeywordByNum(section(runs, "Run", c.run), 1);
    EXPECT_EQ(zemEquivalent(zemKeywordByNum(zemTargetByNum(built, 1), 1), candidate, nullptr), c.report.empty() ? 1 : 0)
        << c.codes << " " << c.run;
    reports.expect(0, c.report.empty() ? Texts{} : Texts{c.report});
    zemClose(&built);
  }
  // Without values on either side the flag changes nothing.
  buildTemplate("T");
  zemAddKeywordDef(built, "Series", "", 0, 0, 1);
  zemEndSection(built);
  zemAddTarget(built, "U");
  zemAddKeyword(built, "Series");
  EXPECT_EQ(zemEquivalent(zemKeywordByNum(zemTargetByNum(built, 1), 1), zemKeywordByNum(zemTargetByNum(built, 2), 1),
                          nullptr),
            1);
  zemClose(&runs);
}

TEST_F(Equivalence, RequiredSectionsMustBePresentAndAWildcardTakesUnknownKeywords) {
  void* runs = zemLoadFile((kData + "runs.txt").c_str(), 0);
  void* plant = buildTemplate("Plant");
  zemAddSectionDef(built, "Pump", 1, 1);
  zemAddKeywordDef(built, "", "i", 0, 0, 1);
  zemEndSection(built);
  zemAddSectionDef(built, "Motor", 0, 1);
  EXPECT_EQ(zemEquivalent(plant, section(runs, "Plant"), nullptr), 0);
  reports.expect(0, {"Error: Missing section\n\tTemp: Plant.Motor"});
  void* candidate = zemCreate();
  zemAddTarget(candidate, "plant");
  zemAddSection(candidate, "Motor");
  zemEndSection(candidate);
  zemAddSection(candidate, "Pump");
  zemAddKeyword(candidate, "Speed");
  zemAddInt(candidate, 1);
  zemAddInt(candidate, 2);
  EXPECT_EQ(zemEquivalent(plant, zemTargetByNum(candidate, 1), nullptr), 1);
  zemAddKeyword(candidate, "Name");
  zemAddString(candidate, "p");
  EXPECT_EQ(zemEquivalent(plant, zemTargetByNum(candidate, 1), nullptr), 0);
  reports.expect(0, {"Error: Parameter type conflict\n\tKeyw: plant.Pump.Name\n\tNo:1"});
  zemClose(&candidate);
  zemClose(&runs);
}

TEST_F(Equivalence, DefaultPlaceholdersAreComparedAsTheirDefaults) {
  zem::CzemTargetList root;
  auto* values = new zem::CzemSection("Values");
  root.addSection(values);
  auto* defaults = new zem::CzemDefaultDef("Count");
  defaults->addParam(new zem::CzemInt(5));
  values->addDefaultDef(defaults);
  for (const char* name : {"Count", "Ratio"}) {
    auto* keyword = new zem::CzemKeyword(name);
    keyword->addParam(new zem::CzemDefaultPar());
    values->addKeyword(keyword);
  }
  void* templValues = section(templ, "Values");
  EXPECT_EQ(zemEquivalent(zemKeywordByNum(templValues, 2), asVoid(values->KeywordByNum(1)), nullptr), 1);
  EXPECT_EQ(zemEquivalent(zemKeywordByNum(templValues, 3), asVoid(values->KeywordByNum(2)), nullptr), 0);
  reports.expect(0, {"Error: Unresolved default value\n\tKeyw: Values.Ratio\n\tNo:1"});
}

}  // namespace
