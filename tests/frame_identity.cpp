// The build stamp, the library's identity and the host version, with the copy
// rule of their "2" variants.
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "frame/identity.hpp"
#include "zem/zem.h"

TEST(Identity, VersionIsTheBuildStampAndCopiesNeedRoomForTheZeroByte) {
  const std::regex stamp(
      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-5][0-9]");
  EXPECT_TRUE(std::regex_match(zemGetVersion(), stamp)) << zemGetVersion();
  char buffer[32] = "untouched";
  EXPECT_EQ(zemGetVersion2(buffer, 20), -1);
  EXPECT_EQ(zemGetVersion2(nullptr, 32), -1);
  EXPECT_EQ(zemGetVersion2(buffer, 0), -1);
  EXPECT_EQ(zemGetVersion2(buffer, -5), -1);
  EXPECT_EQ(zemGetDLLid2(nullptr, 300), -1);
  EXPECT_EQ(zemGetBuildVersion2(buffer, 0), -1);
  EXPECT_EQ(zem::copyText(nullptr, buffer, 32), -2);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(zemGetVersion2(buffer, 21), 0);
  EXPECT_STREQ(buffer, zemGetVersion());
}

TEST(Identity, LibraryIdentityIsTheFullPathOfTheModuleHoldingTheCode) {
  // The tests link the library code into their own executable.
  const std::string id = zemGetDLLid();
  EXPECT_TRUE(id == "Unknown" || (id.front() == '/' && id.find("zem_tests") != std::string::npos)) << id;
  char buffer[300];
  EXPECT_EQ(zemGetDLLid2(buffer, sizeof buffer), 0);
  EXPECT_EQ(id, buffer);
  EXPECT_EQ(zemGetDLLid2(buffer, static_cast<int>(id.size())), -1);
  EXPECT_STREQ(zemGetBuildVersion(), "");  // no version resources here
  EXPECT_EQ(zemGetBuildVersion2(buffer, 1), 0);
  EXPECT_STREQ(buffer, "");
}

TEST(Identity, RelativeLoaderNamesAreCompletedFromTheCurrentDirectory) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  const std::string folder = std::string(cwd) == "/" ? "/" : std::string(cwd) + "/";
  EXPECT_EQ(zem::fullModulePath("build/libzem.so.0"), folder + "build/libzem.so.0");
  EXPECT_EQ(zem::fullModulePath("./libzem.so.0"), folder + "libzem.so.0");
  EXPECT_EQ(zem::fullModulePath("././lib/libzem.so"), folder + "lib/libzem.so");
  EXPECT_EQ(zem::fullModulePath("/usr/lib/libzem.so.0"), "/usr/lib/libzem.so.0");
  EXPECT_EQ(zem::fullModulePath(""), "");
}
