// The library identity is the full path of the library file, also when the
// dynamic loader found it through a relative search path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "frame/identity.hpp"
#include "zem/zem.h"

namespace {

std::string currentDirectory() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

}  // namespace

TEST(LibraryIdentity, RelativeLoaderNamesAreCompletedFromTheCurrentDirectory) {
  const std::string cwd = currentDirectory();
  ASSERT_FALSE(cwd.empty());
  const std::string folder = cwd == "/" ? cwd : cwd + "/";
  EXPECT_EQ(zem::fullModulePath("build/libzem.so.0"), folder + "build/libzem.so.0");
  EXPECT_EQ(zem::fullModulePath("./libzem.so.0"), folder + "libzem.so.0");
  EXPECT_EQ(zem::fullModulePath("././lib/libzem.so"), folder + "lib/libzem.so");
  EXPECT_EQ(zem::fullModulePath("/usr/lib/libzem.so.0"), "/usr/lib/libzem.so.0");
  EXPECT_EQ(zem::fullModulePath(""), "");
}

TEST(LibraryIdentity, IdentityIsUnknownOrAnAbsolutePath) {
  const std::string id = zemGetDLLid();
  EXPECT_TRUE(id == "Unknown" || id.front() == '/') << id;
}
