#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "paths/path_ops.hpp"

using namespace zem;

namespace {
std::string workOnDriveC() { return "c:\\work"; }
}  // namespace

TEST(PathOps, ClassifiesRelativeNamesAndDrives) {
  for (const char* relative : {"data\\in.txt", "..\\x.txt", ""}) EXPECT_TRUE(isRelativePath(relative)) << relative;
  for (const char* absolute : {"c:\\proj", "C:x", "\\proj\\m.txt", "\\\\srv\\share", "/home/u"})
    EXPECT_FALSE(isRelativePath(absolute)) << absolute;
  EXPECT_EQ(driveNumber("a:\\"), 0);
  EXPECT_EQ(driveNumber("Z:"), 25);
  EXPECT_EQ(driveNumber("\\\\srv\\share\\x"), 999);
  EXPECT_EQ(driveNumber("/home"), -1);
  EXPECT_EQ(driveNumber("1:"), -1);
  EXPECT_EQ(drivePrefix("C:\\Work"), "c:");
  EXPECT_EQ(drivePrefix("\\\\srv\\share\\dir"), "\\\\srv\\share");
  EXPECT_EQ(directoryOf("c:/proj/model.txt"), "c:\\proj\\");
  EXPECT_EQ(directoryOf("\\proj\\model.txt"), "/proj/");
  EXPECT_EQ(directoryOf("model.txt"), "");
}

TEST(PathOps, CombineJoinsByTheStyleOfTheResult) {
  EXPECT_EQ(combinePaths("c:\\proj", "data/in.txt"), "c:\\proj\\data\\in.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\", ".\\a\\.\\b\\..\\..\\..\\x.txt"), "c:\\x.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\", "d:\\x.txt"), "d:\\x.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\sub", "\\root.txt"), "c:\\root.txt");
  EXPECT_EQ(combinePaths("\\\\srv\\share\\dir", "..\\..\\x"), "\\\\srv\\share\\x");
  EXPECT_EQ(combinePaths("/home/u/proj/", "data\\in.txt"), "/home/u/proj/data/in.txt");
  EXPECT_EQ(combinePaths("/home/u/Proj", "../../../x"), "/x");
  EXPECT_EQ(combinePaths("a", "../../b"), "../b");
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
  for (const char* other : {"d:\\x.txt", "data\\in.txt", "\\\\b\\s\\x.txt", "/x"})
    EXPECT_FALSE(relativePath("c:\\proj\\model.txt", other)) << other;
}
