// Get and put by keyword name: single values, lists, how success is judged,
// result file paths that outlive the call, and refused file names.
#include <thread>

#include "test_support.hpp"
#include "zem/zem.hpp"

namespace {

class KeywordAccess : public testing::Test {
 protected:
  void* section() { return zemTargetByNum(doc, 1); }
  void* values(const char* keyword) { return zemKeywordByNameNum(section(), keyword, 1); }
  Reports reports;
  Handle doc = createDocument("S");
};

}  // namespace

TEST_F(KeywordAccess, SingleGetsFindTheInstanceAndValueOrFailWithoutACode) {
  ASSERT_EQ(zemPutParam(doc, "k", 7), 1);
  zemAddString(doc, "text");
  ASSERT_EQ(zemPutParam(doc, "k", 8), 1);
  int i = -1;
  EXPECT_EQ((std::pair{zemGetParam(section(), "K", &i, 2, 1), i}), std::pair(1, 8));
  for (auto [instance, param] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 3}, {-1, 1}})
    EXPECT_EQ(zemGetParam(section(), "k", &i, instance, param), 0) << instance << "," << param;
  EXPECT_EQ((std::pair{zemGetParam(section(), "k", static_cast<int*>(nullptr), 1, 1), i}), std::pair(0, 8));
  reports.expect(0, {});
  std::string s;
  EXPECT_EQ(zemGetParam(section(), "k", &i, 1, 2) + zemGetParam(section(), "k", &s, 1, 2), 2);
  EXPECT_EQ(std::to_string(i) + s, "0text");  // an int asked of a string is the neutral 0
  reports.expect(0, {"Function invalid in this context"});
  EXPECT_EQ(zemGetParam(values("k"), "k", &i, 1, 1), 0);  // a keyword is no section
  reports.expect(0, {"Function invalid in this context"});
  EXPECT_EQ(zemGetParam(doc, "k", &i, 1, 1), 0);
  EXPECT_EQ(zemGetParam(nullptr, "k", static_cast<int*>(nullptr), 1, 1), 0);  // still checks the section
  reports.expect(1006, {"Invalid zemNode", "Invalid zemNode"});
}

TEST_F(KeywordAccess, OnlyAPendingCodeFailsAPutOrGet) {
  zemPutParam(doc, "k", 1.5);
  Handle fresh = zemCreate();
  EXPECT_EQ(zemPutParam(fresh, "k", 1), 1);  // building errors leave no code
  reports.expect(0, {"Missing current section", "Missing current keyword"});
  EXPECT_EQ(zemPutParam(nullptr, "k", std::string("x")), 0);
  double d = 0.0;
  EXPECT_EQ(zemGetParam(section(), "k", &d, 1, 1), 0);  // 1005 still pending
  EXPECT_EQ(zemPutParam(doc, "late", true), 0);
  EXPECT_EQ(d + zemGetNoParams(values("late")), 0.0);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  EXPECT_EQ((std::pair{zemGetParam(section(), "k", &d, 1, 1), d}), std::pair(1, 1.5));
}

TEST_F(KeywordAccess, EveryOverloadAndListFormatLetterAddsAndReadsItsKind) {
  zemSetAnchorFilename(zemGetRoot(doc), "/p/setup.txt");
  EXPECT_EQ(zemPutParam(doc, "f", 2.5f) + zemPutParam(doc, "b", false) + zemPutParam(doc, "c", "it's") +
                zemPutParamFilename(doc, "n", "data/in.txt") + zemPutParamResultFilename(doc, "r", "/abs/out.dat"),
            5);
  float f = 0;
  bool b = true;
  std::string c, n, s;
  const char *np = nullptr, *rp = nullptr;
  EXPECT_EQ(zemGetParam(section(), "f", &f, 1, 1) + zemGetParam(section(), "b", &b, 1, 1) +
                zemGetParam(section(), "c", &c, 1, 1) + zemGetParamFilename(section(), "n", &n, 1, 1) +
                zemGetParamFilename(section(), "n", &np, 1, 1) + zemGetParamResultFilename(section(), "r", &rp, 1, 1),
            6);
  EXPECT_EQ(std::to_string(f) + (b ? "true" : "false") + c + n + np + rp,
            "2.500000falseit's/p/data/in.txt/p/data/in.txt/abs/out.dat");

  // x adds nothing; an empty or missing format adds a keyword without values.
  EXPECT_EQ((std::vector{zemPutListParam(doc, "m", "ifs", 1, 2.5f, "text"),
                         zemPutListParam(doc, "all", "bdxfins", true, 0.25, 3.5f, -4, "a.txt", "s"),
                         zemPutListParam(doc, "none", ""), zemPutListParam(doc, "none2", nullptr),
                         zemGetNoParams(values("m")), zemIsFloat(zemParamByNum(values("m"), 2)),
                         zemGetNoParams(values("all")), zemGetNoParams(values("none2"))}),
            (std::vector{1, 1, 1, 1, 3, 1, 6, 0}));
  double d = 0;
  int i = 0;
  EXPECT_EQ(zemGetListParam(section(), "all", 1, "bdfins", &b, &d, &f, &i, &n, &s), 1);
  EXPECT_EQ(std::to_string(b) + " " + std::to_string(d) + " " + std::to_string(f) + " " + std::to_string(i) + " " + s,
            "1 0.250000 3.500000 -4 s");
  EXPECT_NE(n.find("a.txt"), std::string::npos);
  EXPECT_EQ(std::pair(zemGetListParam(section(), "none", 1, ""), zemGetListParam(section(), "none", 2, "")),
            std::pair(1, 0));
  zemPutListParam(doc, "two", "ii", 5, 6);
  int first = 0, second = 0;
  EXPECT_EQ(zemGetListParam(section(), "two", 1, "iiq", &first, &second), 0);  // q still needs a third value
  EXPECT_EQ(first + second, 11);
  EXPECT_EQ(zemGetListParam(section(), "two", 1, "i", &first), 1);  // values beyond the format are not looked at
  EXPECT_EQ(zemGetListParam(section(), "two", 1, "ii", nullptr, &second), 1);
}

TEST_F(KeywordAccess, FileNamesTheFileCouldNotHoldRefuseThePut) {
  EXPECT_EQ((std::vector{zemPutParamFilename(doc, "n", "a|b"), zemPutParamResultFilename(doc, "r", "/x\ny"),
                         zemPutParamResultFilename(doc, "r", "x\ny"),  // relative: a string holds it
                         zemPutListParam(doc, "l", "isn", 1, "a|b is fine in a string", "c:\\new\r\nline")}),
            (std::vector{0, 0, 1, 0}));
  reports.expect(0, Texts(3, "Invalid character in filename"));
  EXPECT_EQ(zemGetNoKeywords(section()), 1);
  EXPECT_STREQ(zemGetErrorFromZemData(doc), "Invalid character in filename");
  EXPECT_EQ(zemPutParamFilename(nullptr, "n", "a|b"), 0);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  // What is accepted reads back the same after a write and a load.
  EXPECT_EQ(zemPutListParam(doc, "l", "sn", "a|b\nc", "/x y/it's.dat"), 1);
  zemEndSection(doc);
  Handle loaded = reread(doc);
  std::string s, n;
  EXPECT_EQ(zemGetListParam(zemTargetByNum(loaded, 1), "l", 1, "sn", &s, &n), 1);
  EXPECT_EQ(s + "," + n, "a|b\nc,/x y/it's.dat");
}

TEST_F(KeywordAccess, ResultFilePathsStayValidPerValueAndPerDocument) {
  zemSetAnchorFilename(zemGetRoot(doc), "/p/run.txt");
  zemPutListParam(doc, "r", "s", "a.dat");
  zemAddResultFilename(doc, "b.dat");
  zemAddInt(doc, 1);
  const char *a = nullptr, *b = nullptr, *none = nullptr;
  EXPECT_EQ(
      (std::vector{
          zemGetParamResultFilePath(section(), "r", &a, 1, 1), zemGetParamResultFilePath(section(), "r", &b, 1, 2),
          zemGetParamResultFilePath(section(), "r", &a, 1, 1), zemGetParamResultFilePath(section(), "r", &none, 1, 3)}),
      std::vector(4, 1));
  EXPECT_EQ((Texts{a, b, none}), (Texts{"/p/run.txt - Result Files/a.dat", "/p/run.txt - Result Files/b.dat", ""}));
  reports.expect(0, {"Function invalid in this context"});
  zemSetAnchorFilename(zemGetRoot(doc), ("/" + std::string(250, 'p') + "/run.txt").c_str());
  EXPECT_EQ(zemGetParamResultFilePath(section(), "r", &a, 1, 1), 0);  // too long: refused
  EXPECT_STREQ(a, "/p/run.txt - Result Files/a.dat");

  // Two threads on two documents never share a text.
  Handle docs[2] = {zemCreate(), zemCreate()};
  const char* kept[2] = {};
  std::string last[2];
  auto work = [&](int k) {
    for (int n = 0; n < 2000; ++n) zemGetParamResultFilePath(zemTargetByNum(docs[k], 1), "r", &kept[k], 1, 1);
    last[k] = kept[k];
  };
  for (int k : {0, 1}) {
    zemSetAnchorFilename(zemGetRoot(docs[k]), k == 0 ? "/one/a.txt" : "/two/b.txt");
    zemAddTarget(docs[k], "S");
    zemPutParamResultFilename(docs[k], "r", "x.dat");
  }
  std::thread t0(work, 0), t1(work, 1);
  t0.join();
  t1.join();
  EXPECT_EQ(last[0] + "|" + last[1], "/one/a.txt - Result Files/x.dat|/two/b.txt - Result Files/x.dat");
  EXPECT_NE(kept[0], kept[1]);
}
