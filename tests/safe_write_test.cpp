// A write that fails part-way never loses the stored file: zemWrite replaces the target only with a complete text;
// zemAppend appends in place and takes a partial text back.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "test_support.hpp"

namespace {

namespace fs = std::filesystem;

// A document whose text is about `bytes` long.
void* bigDocument(std::size_t bytes) {
  void* doc = createDocument("A");
  const std::string text(1000, 'x');
  for (std::size_t i = 0; i < bytes / 1000; ++i) {
    zemAddKeyword(doc, "k");
    zemAddString(doc, text.c_str());
  }
  return doc;
}

// Runs `write` in a child whose files may not grow past `limit` bytes; the
// child's exit status is the global code the write left.
template <typename Write>
int codeUnderSizeLimit(rlim_t limit, Write write) {
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    const rlimit small{limit, limit};
    setrlimit(RLIMIT_FSIZE, &small);
    write();
    const int code = zemGetErrorGlb();
    _exit(code == 0 ? 0 : code - 1000);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return -1;
  return WEXITSTATUS(status) == 0 ? 0 : WEXITSTATUS(status) + 1000;
}

std::size_t entries(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace

TEST(SafeWrite, AFullDiskLeavesTheStoredFileAsItWas) {
  const auto dir = scratchDir();
  const auto file = dir / "stored.txt";
  writeFile(file, "[Old]\r\nEndSect  // Old\r\n");
  Handle doc = bigDocument(1 << 20);
  EXPECT_EQ(codeUnderSizeLimit(64 * 1024, [&] { zemWrite(doc, file.c_str()); }), 1001);
  EXPECT_EQ(readFile(file), "[Old]\r\nEndSect  // Old\r\n");
  EXPECT_EQ(codeUnderSizeLimit(64 * 1024, [&] { zemAppend(doc, file.c_str()); }), 1001);
  EXPECT_EQ(readFile(file), "[Old]\r\nEndSect  // Old\r\n");
  EXPECT_EQ(codeUnderSizeLimit(64 * 1024, [&] { zemFileCopy(file.c_str(), file.c_str()); }), 0);
  EXPECT_EQ(entries(dir), 1u) << "no temporary file is left behind";
  // Within the limit the same writes succeed.
  EXPECT_EQ(codeUnderSizeLimit(4 << 20, [&] { zemWrite(doc, file.c_str()); }), 0);
  EXPECT_GT(fs::file_size(file), 1u << 20);
  EXPECT_EQ(entries(dir), 1u);
}

TEST(SafeWrite, AWriteKeepsTheModeAndGoesThroughSymbolicLinks) {
  const auto dir = scratchDir();
  fs::create_directories(dir / "real");
  const auto target = dir / "real" / "doc.txt";
  writeFile(target, "old");
  chmod(target.c_str(), 0640);
  fs::create_symlink("real/doc.txt", dir / "link.txt");
  fs::create_symlink("link.txt", dir / "link2.txt");
  Handle doc = createDocument("A");
  Reports reports;
  zemWrite(doc, (dir / "link2.txt").c_str());
  reports.expect(0, {});
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_TRUE(fs::is_symlink(dir / "link2.txt"));
  EXPECT_EQ(bodyOf(readFile(target)), "[A]\r\nEndSect  // A\r\n\r\n");
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(entries(dir / "real"), 1u);
  // The anchor is the name as given: file names are written relative to it.
  EXPECT_STREQ(zemGetAnchorFilename(zemGetRoot(doc)), (dir / "link2.txt").c_str());
  // A link to nowhere gets its file made; a new file has the process's mode.
  fs::create_symlink("made.txt", dir / "dangling.txt");
  zemWrite(doc, (dir / "dangling.txt").c_str());
  reports.expect(0, {});
  EXPECT_TRUE(fs::exists(dir / "made.txt"));
}
