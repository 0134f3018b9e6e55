// Result file values: which kind of value a name becomes, how it is written
// and read back, its full path in the result folder, and names the file
// could not hold.
#include <cstring>

#include "env_support.hpp"
#include "results/folder_template.hpp"
#include "test_support.hpp"

namespace {

// A built document anchored at D:\study\run1.txt with keyword "Out" open in target "Run".
struct ResultDocument {
  ScopedEnv env;
  void* doc = zemCreate();
  ResultDocument() {
    env.set(zem::kTemplateVariable, nullptr);
    zemSetAnchorFilename(zemGetRoot(doc), "D:\\study\\run1.txt");
    zemAddTarget(doc, "Run");
    zemAddKeyword(doc, "Out");
  }
  ~ResultDocument() { zemClose(&doc); }
  void* value(unsigned n) { return zemParamByNum(zemKeywordByNameNum(zemTargetByNum(doc, 1), "Out", 1), n); }
  std::string path(void* node) {
    char out[ZEM_MAX_PATH] = "untouched";
    zemGetResultFilenamePath(node, out);
    return out;
  }
};

}  // namespace

TEST(ResultFile, RelativeNamesBecomeStringsAndAbsoluteOnesFileNames) {
  ResultDocument d;
  for (const char* name : {"out\\a.dat", "", "C:\\res\\a.dat", "/res/b.dat"}) zemAddResultFilename(d.doc, name);
  for (unsigned n : {1u, 2u}) EXPECT_EQ(zemIsString(d.value(n)), 1) << n;
  for (unsigned n : {3u, 4u}) EXPECT_EQ(zemIsFilename(d.value(n)), 1) << n;
  EXPECT_STREQ(zemGetResultFilename(d.value(1)), "out\\a.dat");
  EXPECT_STREQ(zemGetResultFilename(d.value(3)), "C:\\res\\a.dat");

  const auto file = scratchDir() / "run.txt";
  zemEndSection(d.doc);
  zemWrite(d.doc, file.string().c_str());
  const std::string body = bodyOf(readFile(file));
  EXPECT_NE(body.find("Out = 'out\\a.dat', '', |C:\\res\\a.dat|, |../"), std::string::npos) << body;
  EXPECT_NE(body.find("/res/b.dat|\r\n"), std::string::npos) << body;
}

TEST(ResultFile, PathJoinsStringsToTheResultFolderAndResolvesFileNames) {
  ResultDocument d;
  for (const char* name : {"flow.dat", "..\\flow.dat", "c:\\x\\y.dat"}) zemAddResultFilename(d.doc, name);
  zemAddInt(d.doc, 3);
  EXPECT_EQ(d.path(d.value(1)), "D:\\study\\run1.txt - Result Files\\flow.dat");
  EXPECT_EQ(d.path(d.value(2)), "D:\\study\\flow.dat");
  EXPECT_EQ(d.path(d.value(3)), "c:\\x\\y.dat");
  zemSetCustomResultFolder(d.doc, 1, "F:\\x");
  EXPECT_EQ(d.path(d.value(1)), "F:\\x\\flow.dat");

  Reports reports;
  EXPECT_EQ(d.path(nullptr), "untouched");
  EXPECT_EQ(zemGetResultFilename(nullptr), nullptr);
  reports.expect(0, {});
  EXPECT_EQ(d.path(d.value(4)), "untouched");  // an int has no path
  EXPECT_EQ(zemGetResultFilename(d.value(4)), nullptr);
  reports.expect(0, Texts(2, "Function invalid in this context"));
  EXPECT_EQ(d.path(d.doc), "");
  EXPECT_STREQ(zemGetResultFilename(d.doc), "");
  reports.expect(1006, Texts(4, "Invalid zemNode"));

  zemSetCustomResultFolder(d.doc, 1, ("F:\\" + std::string(250, 'f')).c_str());
  EXPECT_EQ(d.path(d.value(1)), "");  // 264 bytes would not fit: refused, never cut
}

TEST(ResultFile, NamesTheFileCouldNotHoldAreBuildingErrors) {
  ResultDocument d;
  Reports reports;
  for (const char* name : {"a|b.dat", "c:\\x\\a|b", "line\nend", "c:\\cr\r"}) zemAddResultFilename(d.doc, name);
  reports.expect(0, Texts(4, "Invalid character in filename"));
  EXPECT_EQ(zemAddResultFilenameS(d.doc, "/x/a|b"), 2000);
  EXPECT_EQ(zemAddResultFilenameS(d.doc, "it's.dat"), 0);
  EXPECT_EQ(zemGetNoParams(zemKeywordByNum(zemTargetByNum(d.doc, 1), 1)), 1);
  EXPECT_EQ(zemAddResultFilenameS(zemGetRoot(d.doc), "a.dat"), 1005);
  reports.expect(1005, {});
  zemAddResultFilename(nullptr, "a.dat");
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
}
