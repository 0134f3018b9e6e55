#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "paths/path_ops.hpp"

using namespace zem;

namespace {

std::string workOnDriveC() { return "c:\\work"; }

// Gives the library a Windows-style current directory for one test.
struct CurrentDirectoryOnDriveC {
  CurrentDirectoryOnDriveC() { setCurrentDirectoryProvider(workOnDriveC); }
  ~CurrentDirectoryOnDriveC() { setCurrentDirectoryProvider(nullptr); }
};

std::string processDirectory() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

}  // namespace

TEST(PathOps, RelativeMeansNoDriveNoLeadingSeparatorNoNetworkPrefix) {
  EXPECT_TRUE(isRelativePath("data\\in.txt"));
  EXPECT_TRUE(isRelativePath("..\\x.txt"));
  EXPECT_TRUE(isRelativePath(""));
  EXPECT_FALSE(isRelativePath("c:\\proj"));
  EXPECT_FALSE(isRelativePath("C:x"));
  EXPECT_FALSE(isRelativePath("\\proj\\model.txt"));
  EXPECT_FALSE(isRelativePath("\\\\server\\share"));
  EXPECT_FALSE(isRelativePath("/home/u"));
}

TEST(PathOps, DriveNumbersCountFromAAndNetworkNamesAre999) {
  EXPECT_EQ(driveNumber("a:\\"), 0);
  EXPECT_EQ(driveNumber("C:\\x"), 2);
  EXPECT_EQ(driveNumber("z:"), 25);
  EXPECT_EQ(driveNumber("\\\\srv\\share\\x"), 999);
  EXPECT_EQ(driveNumber("/home"), -1);
  EXPECT_EQ(driveNumber("1:"), -1);
  EXPECT_EQ(driveNumber(""), -1);
  EXPECT_EQ(drivePrefix("C:\\Work"), "c:");
  EXPECT_EQ(drivePrefix("\\\\srv\\share\\dir"), "\\\\srv\\share");
  EXPECT_EQ(drivePrefix("/home"), "");
}

TEST(PathOps, CombineFollowsWindowsRulesForDriveAndNetworkNames) {
  EXPECT_EQ(combinePaths("c:\\proj\\", "data\\in.txt"), "c:\\proj\\data\\in.txt");
  EXPECT_EQ(combinePaths("c:\\proj", "data/in.txt"), "c:\\proj\\data\\in.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\", "..\\x.txt"), "c:\\x.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\", ".\\a\\.\\b\\..\\c.txt"), "c:\\proj\\a\\c.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\", "d:\\x.txt"), "d:\\x.txt");
  EXPECT_EQ(combinePaths("c:\\proj\\sub", "\\root.txt"), "c:\\root.txt");
  EXPECT_EQ(combinePaths("c:\\", "..\\..\\x"), "c:\\x");
  EXPECT_EQ(combinePaths("c:\\proj\\", "out\\"), "c:\\proj\\out\\");
  EXPECT_EQ(combinePaths("\\\\srv\\share\\dir", "..\\..\\x"), "\\\\srv\\share\\x");
  EXPECT_EQ(combinePaths("\\\\srv\\share\\dir", "\\x"), "\\\\srv\\share\\x");
}

TEST(PathOps, CombineOfPosixNamesUsesSlashes) {
  EXPECT_EQ(combinePaths("/home/u/proj/", "data\\in.txt"), "/home/u/proj/data/in.txt");
  EXPECT_EQ(combinePaths("/home/u/Proj", "../x"), "/home/u/x");
  EXPECT_EQ(combinePaths("/home/u", "/etc/x"), "/etc/x");
  EXPECT_EQ(combinePaths("/", "../x"), "/x");
  EXPECT_EQ(combinePaths("/home/u", "c:\\x"), "c:\\x");
  EXPECT_EQ(combinePaths("a", "../../b"), "../b");
}

TEST(PathOps, MarkersStandForCurrentDirectoryAndCurrentDriveRoot) {
  {
    CurrentDirectoryOnDriveC cwd;
    EXPECT_EQ(combinePaths("$PWD", "model.txt"), "c:\\work\\model.txt");
    EXPECT_EQ(combinePaths("$CDD", "\\proj\\model.txt"), "c:\\proj\\model.txt");
  }
  EXPECT_EQ(combinePaths("$PWD", "m.txt"), processDirectory() + "/m.txt");
  EXPECT_EQ(currentDriveRoot(), "/");
  EXPECT_EQ(combinePaths("$CDD", "\\proj\\m.txt"), "/proj/m.txt");
}

TEST(PathOps, ResultsThatWouldNotFitThePathLimitAreRefused) {
  const std::string base = "c:\\" + std::string(240, 'a');
  EXPECT_EQ(combinePaths(base, std::string(15, 'b'))->size(), kMaxPath - 1);
  EXPECT_FALSE(combinePaths(base, std::string(16, 'b')).has_value());
  EXPECT_FALSE(combinePaths("/" + std::string(300, 'p'), "x").has_value());
  // Only the result counts: a long detour that ".." takes back is fine.
  EXPECT_EQ(combinePaths("c:\\a", std::string(300, 'x') + "\\..\\y"), "c:\\a\\y");

  std::string deep = "/";
  for (int i = 0; i < 100; ++i) deep += "d/";
  EXPECT_FALSE(relativePath(deep + "m.txt", "/x.txt").has_value());  // 100 times "../"
}

TEST(PathOps, DirectoryOfKeepsDriveAndTrailingSeparator) {
  EXPECT_EQ(directoryOf("c:\\proj\\model.txt"), "c:\\proj\\");
  EXPECT_EQ(directoryOf("c:/proj/model.txt"), "c:\\proj\\");
  EXPECT_EQ(directoryOf("c:model.txt"), "c:");
  EXPECT_EQ(directoryOf("/home/u/model.txt"), "/home/u/");
  EXPECT_EQ(directoryOf("\\proj\\model.txt"), "/proj/");
  EXPECT_EQ(directoryOf("model.txt"), "");
}

TEST(PathOps, RelativePathStartsWithDotOrClimbs) {
  EXPECT_EQ(relativePath("c:\\proj\\model.txt", "c:\\proj\\data\\in.txt"), ".\\data\\in.txt");
  EXPECT_EQ(relativePath("c:\\proj\\model.txt", "c:\\other\\x.txt"), "..\\other\\x.txt");
  EXPECT_EQ(relativePath("C:\\PROJ\\model.txt", "c:\\proj\\Data\\in.txt"), ".\\Data\\in.txt");
  EXPECT_EQ(relativePath("\\\\a\\s\\m.txt", "\\\\A\\S\\d\\x.txt"), ".\\d\\x.txt");
  EXPECT_EQ(relativePath("/home/u/proj/model.txt", "/home/u/proj/data/in.txt"), "./data/in.txt");
  EXPECT_EQ(relativePath("/home/u/proj/model.txt", "/home/u/Proj/x"), "../Proj/x");
  EXPECT_EQ(relativePath("/a/b/c/m.txt", "/x.txt"), "../../../x.txt");
}

TEST(PathOps, RelativePathNeedsACommonRoot) {
  EXPECT_FALSE(relativePath("c:\\proj\\model.txt", "d:\\x.txt").has_value());
  EXPECT_FALSE(relativePath("c:\\proj\\model.txt", "data\\in.txt").has_value());
  EXPECT_FALSE(relativePath("\\\\a\\s\\m.txt", "\\\\b\\s\\x.txt").has_value());
  EXPECT_FALSE(relativePath("/home/m.txt", "c:\\x").has_value());
  EXPECT_FALSE(relativePath("/home/m.txt", "x/y").has_value());
}
