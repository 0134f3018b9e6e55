// Path operations in both notations, and file-name values: resolution against
// the document anchor, the written form relative to it, and their exports.

#include "model/value_factory.hpp"
#include "paths/path_ops.hpp"
#include "test_support.hpp"
#include "text/output_stream.hpp"

using namespace zem;

namespace {

std::string workOnDriveC() { return "c:\\work"; }

// A root with anchor, section "S" and keyword "k".
struct Document {
  CzemTargetList root;
  CzemKeyword* keyword = new CzemKeyword("k");
  explicit Document(std::string_view anchor) {
    root.setAnchor(anchor);
    auto* section = new CzemSection("S");
    root.addSection(section);
    section->addKeyword(keyword);
  }
  CzemNode* name(std::string_view text) {
    keyword->addParam(makeFilenameValue(text));
    return keyword->children().back();
  }
  std::string written(std::string_view text) {
    OutputStream out(nullptr);
    name(text)->Write(out);
    return out.text();
  }
};

}  // namespace

TEST(PathOps, ClassifiesSplitsAndCombinesNamesByTheStyleOfTheResult) {
  for (const char* relative : {"data\\in.txt", "..\\x.txt", ""}) EXPECT_TRUE(isRelativePath(relative)) << relative;
  for (const char* absolute : {"c:\\proj", "C:x", "\\proj\\m.txt", "\\\\srv\\share", "/home/u"})
    EXPECT_FALSE(isRelativePath(absolute)) << absolute;
  for (const auto& [path, drive] :
       {std::pair{"a:\\", 0}, {"Z:", 25}, {"\\\\srv\\share\\x", 999}, {"/home", -1}, {"1:", -1}})
    EXPECT_EQ(driveNumber(path), drive) << path;
  EXPECT_EQ(
      (Texts{drivePrefix("C:\\Work"), drivePrefix("\\\\srv\\share\\dir"), directoryOf("c:/proj/model.txt"),
             directoryOf("\\proj\\model.txt"), directoryOf("model.txt"),
             canonicalizePath("\\\\srv\\share").value_or("-"), canonicalizePath("\\\\srv\\share\\").value_or("-")}),
      (Texts{"c:", "\\\\srv\\share", "c:\\proj\\", "/proj/", "", "\\\\srv\\share", "\\\\srv\\share\\"}));
  EXPECT_EQ(combinePaths("c:\\proj", "data/in.txt"), "c:\\proj\\data\\in.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\", ".\\a\\.\\b\\..\\..\\..\\x.txt"), "c:\\x.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\", "d:\\x.txt"), "d:\\x.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\sub", "\\root.txt"), "c:\\root.txt");
  EXPECT_EQ(combinePaths("\\\\srv\\share\\dir", "..\\..\\x"), "\\\\srv\\share\\x");
  EXPECT_EQ(combinePaths("/home/u/proj/", "data\\in.txt"), "/home/u/proj/data/in.txt");
  EXPECT_EQ(combinePaths("/home/u/Proj", "../../../x"), "/x");
  EXPECT_EQ(combinePaths("a", "../../b"), "../b");
  // A closing separator names a folder, also after "." or ".."; a bare share is no folder of its own.
  EXPECT_EQ(combinePaths("c:\\proj", "out\\sub\\..\\"), "c:\\proj\\out\\");
  EXPECT_EQ(combinePaths("c:\\proj\\", ".\\"), "c:\\proj\\");
  EXPECT_EQ(combinePaths("\\\\srv\\share\\dir", ".."), "\\\\srv\\share");
}

TEST(PathOps, MarkersTakeTheReplaceableCurrentDirectory) {
  setCurrentDirectoryProvider(workOnDriveC);
  EXPECT_EQ(combinePaths("$PWD", "model.txt"), "c:\\work\\model.txt");
  EXPECT_EQ(combinePaths("$CDD", "\\proj\\model.txt"), "c:\\proj\\model.txt");
  setCurrentDirectoryProvider(nullptr);
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(combinePaths("$PWD", "m.txt"), std::string(cwd) + "/m.txt");
  EXPECT_EQ(combinePaths("$CDD", "\\proj\\m.txt"), "/proj/m.txt");
}

TEST(PathOps, ResultsThatWouldNotFitThePathLimitAreRefused) {
  const std::string base = "c:\\" + std::string(240, 'a');
  EXPECT_EQ(combinePaths(base, std::string(15, 'b'))->size(), kMaxPath - 1);
  EXPECT_FALSE(combinePaths(base, std::string(16, 'b')));
  EXPECT_EQ(combinePaths("c:\\a", std::string(300, 'x') + "\\..\\y"), "c:\\a\\y");  // only the result counts
  std::string deep = "/";
  for (int i = 0; i < 100; ++i) deep += "d/";
  EXPECT_FALSE(relativePath(deep + "m.txt", "/x.txt"));
}

TEST(PathOps, RelativePathStartsWithDotOrClimbsWithinOneRoot) {
  EXPECT_EQ(relativePath("c:\\proj\\model.txt", "c:\\proj\\data\\in.txt"), ".\\data\\in.txt");
  EXPECT_EQ(relativePath("C:\\PROJ\\model.txt", "c:\\other\\x.txt"), "..\\other\\x.txt");
  EXPECT_EQ(relativePath("\\\\a\\s\\m.txt", "\\\\A\\S\\d\\x.txt"), ".\\d\\x.txt");
  EXPECT_EQ(relativePath("/home/u/proj/model.txt", "/home/u/Proj/x"), "../Proj/x");  // case counts
  // A folder stays a folder, as its canonical form does, also when "." or ".." ends it.
  for (const char* folder : {"/home/u/out/", "/home/u/out/./", "/home/u/out/sub/../"}) {
    EXPECT_EQ(relativePath("/home/u/proj/model.txt", folder), "../out/") << folder;
    EXPECT_EQ(canonicalizePath(folder), "/home/u/out/") << folder;
  }
  for (const char* other : {"d:\\x.txt", "data\\in.txt", "\\\\b\\s\\x.txt", "/x"})
    EXPECT_FALSE(relativePath("c:\\proj\\model.txt", other)) << other;
}

TEST(FilenameValue, ResolvesAgainstTheAnchorFolder) {
  Document doc("c:\\proj\\model.txt");
  const auto resolved = [&doc](const char* name) { return std::string(doc.name(name)->GetFilename()); };
  EXPECT_EQ((Texts{resolved("data\\in.txt"), resolved("..\\x.txt"), resolved("d:\\x.txt"), resolved(""),
                   doc.keyword->ParamByNum(1)->GetFilenameString()}),
            (Texts{"c:\\proj\\data\\in.txt", "c:\\x.txt", "d:\\x.txt", "", "data\\in.txt"}));
  doc.root.setAnchor("e:\\w\\copy.txt");
  EXPECT_STREQ(doc.keyword->ParamByNum(1)->GetFilename(), "e:\\w\\data\\in.txt");
  Document tooLong("c:\\" + std::string(250, 'a') + "\\model.txt");
  EXPECT_STREQ(tooLong.name("data\\in.txt")->GetFilename(), "data\\in.txt");
  setCurrentDirectoryProvider(workOnDriveC);  // a relative or driveless anchor is completed; "" is never written
  EXPECT_EQ(
      (Texts{Document("model.txt").name("in.txt")->GetFilename(),
             Document("\\proj\\model.txt").name("in.txt")->GetFilename(), Document("").name("in.txt")->GetFilename()}),
      (Texts{"c:\\work\\in.txt", "c:\\proj\\in.txt", "c:\\work\\in.txt"}));
  setCurrentDirectoryProvider(nullptr);
}

TEST(FilenameValue, RealLinuxPathResolvesToAFileThatOpens) {
  const auto project = scratchDir();
  std::filesystem::create_directories(project / "data");
  const std::string target = (project / "data" / "in.txt").string();
  writeFile(target, "");
  Document doc((project / "model.txt").string());
  EXPECT_EQ(doc.name("data\\in.txt")->GetFilename(), target);
  EXPECT_TRUE(std::filesystem::exists(doc.keyword->ParamByNum(1)->GetFilename()));
  EXPECT_EQ(doc.written(target), "|./data/in.txt|");
  EXPECT_EQ(doc.written((project.parent_path() / "o.txt").string()), "|../o.txt|");
}

TEST(FilenameExports, SetGetAndCopyNamesAndAnchorsWithNeutralResults) {
  Document doc("");
  void* value = asVoid(doc.name("in.txt"));
  zemSetAnchorFilename(value, "c:\\proj\\model.txt");
  zemSetFilename(value, "data\\x.txt");
  char buffer[64] = "";
  // The name has 18 characters, the anchor 17.
  EXPECT_EQ((std::vector{zemIsFilename(value), zemGetFilename2(value, buffer, 18), zemGetFilename2(value, buffer, 19)}),
            (std::vector{1, -1, 0}));
  EXPECT_EQ((Texts{zemGetFilenameString(value), buffer, zemGetAnchorFilename(asVoid(&doc.root)),
                   zemGetAnchorFilename(asVoid(doc.keyword))}),
            (Texts{"data\\x.txt", "c:\\proj\\data\\x.txt", "c:\\proj\\model.txt", ""}));
  EXPECT_EQ(std::pair(zemGetAnchorFilename2(asVoid(&doc.root), buffer, 17),
                      zemGetAnchorFilename2(asVoid(&doc.root), buffer, 18)),
            std::pair(-1, 0));
  Reports reports;
  EXPECT_EQ(std::pair(zemIsFilename(nullptr), std::string(zemGetFilename(nullptr))), std::pair(0, std::string()));
  zemSetAnchorFilename(nullptr, "x");
  reports.expect(1006, Texts(3, "Invalid zemNode"));
  EXPECT_EQ(zemGetFilename(asVoid(doc.keyword)), nullptr);
  EXPECT_EQ(zemGetFilename2(asVoid(doc.keyword), buffer, sizeof buffer), -2);
  zemSetFilename(asVoid(doc.keyword), "x");
  EXPECT_STREQ(buffer, "c:\\proj\\model.txt");
  reports.expect(0, Texts(2, "Function invalid in this context"));
}
