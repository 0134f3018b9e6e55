// The build stamp, the library's identity and the host version, with the copy
// rule of their "2" variants.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

#include "frame/identity.hpp"
#include "zem/zem.h"

TEST(Identity, VersionIsTheBuildStampDateBlankTime) {
  const std::string version = zemGetVersion();
  EXPECT_EQ(version.size(), 20u);
  const std::regex stamp(
      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-5][0-9]");
  EXPECT_TRUE(std::regex_match(version, stamp)) << version;
}

TEST(Identity, VersionCopyNeedsRoomForTheZeroByte) {
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(zemGetVersion2(buffer, 20), -1);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(zemGetVersion2(buffer, 21), 0);
  EXPECT_STREQ(buffer, zemGetVersion());
}

TEST(Identity, CopyRefusesAMissingBufferOrANonPositiveSize) {
  char buffer[32] = "untouched";
  EXPECT_EQ(zemGetVersion2(nullptr, 32), -1);
  EXPECT_EQ(zemGetVersion2(buffer, 0), -1);
  EXPECT_EQ(zemGetVersion2(buffer, -5), -1);
  EXPECT_EQ(zemGetDLLid2(nullptr, 300), -1);
  EXPECT_EQ(zemGetBuildVersion2(buffer, 0), -1);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(zem::copyText(nullptr, buffer, 32), -2);
}

TEST(Identity, LibraryIdentityNamesTheModuleHoldingTheLibraryCode) {
  // The tests link the library code into their own executable.
  const std::string id = zemGetDLLid();
  EXPECT_TRUE(id == "Unknown" || id.find("zem_tests") != std::string::npos) << id;
  char buffer[300];
  EXPECT_EQ(zemGetDLLid2(buffer, sizeof buffer), 0);
  EXPECT_EQ(id, buffer);
  EXPECT_EQ(zemGetDLLid2(buffer, static_cast<int>(id.size())), -1);
}

TEST(Identity, BuildVersionIsEmptyWithoutVersionResources) {
  EXPECT_STREQ(zemGetBuildVersion(), "");
  char buffer[4] = "abc";
  EXPECT_EQ(zemGetBuildVersion2(buffer, 1), 0);
  EXPECT_STREQ(buffer, "");
}
