#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "diagnose.hpp"
#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

std::string place(const std::string& name, int line, int column) {
  return name + ":" + std::to_string(line) + ":" + std::to_string(column);
}

// The first CLOB of `node`'s subtree with an item that does not read, as
// "LINE:COLUMN: message (where)"; "" when every item reads.
std::string firstBadClob(void* node, const std::string& name) {
  const int n = zemGetNoNodes(node);
  for (int i = 1; i <= n; ++i) {
    void* child = zemNodeByNum(node, static_cast<unsigned>(i));
    if (zemIsSection(child) != 0) {
      std::string bad = firstBadClob(child, name);
      if (!bad.empty()) return bad;
      continue;
    }
    if (zemIsKeyword(child) == 0) continue;
    const int values = zemGetNoParams(child);
    for (int v = 1; v <= values; ++v) {
      void* clob = zemParamByNum(child, static_cast<unsigned>(v));
      if (zemIsClob(clob) == 0) continue;
      zemClobResetS(clob, 0);
      // Reading any item, the end reads as no item and no failure.
      int item = 0, status = 0;
      void* read = nullptr;
      while ((status = zemGetClobItemS(clob, &read)) == 0 && read != nullptr) ++item;
      const std::string message = zemGetErrorFromZemClob(clob);
      zemClobResetS(clob, 0);
      zemGetErrorGlb();
      if (status == 0) continue;
      int line = 0, column = 0;
      zemGetNodeSpan(child, &line, &column, nullptr, nullptr);
      return place(name, line, column) + ": " + message + " (" + nodeLocation(child) + ", value " + std::to_string(v) +
             " '<CLOB:" + zemGetString(clob) + ">', item " + std::to_string(item + 1) + ")";
    }
  }
  return "";
}

}  // namespace

std::string spoolStandardInput() {
  const char* tmp = std::getenv("TMPDIR");
  std::string name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zem-stdin-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return "";
  char buf[1 << 16];
  bool ok = true;
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, stdin);
    std::size_t done = 0;
    while (done < n) {
      const ssize_t w = write(fd, buf + done, n - done);
      if (w <= 0) break;
      done += static_cast<std::size_t>(w);
    }
    if (done < n) ok = false;
    if (n < sizeof buf || !ok) break;
  }
  if (std::ferror(stdin) != 0) ok = false;
  if (close(fd) != 0 || !ok) {
    std::remove(name.c_str());
    return "";
  }
  return name;
}

Document::Document(const std::string& fileName) : name_(fileName), path_(fileName) {
  if (fileName == "-") {
    name_ = "<stdin>";
    temporary_ = path_ = spoolStandardInput();
    if (path_.empty()) {
      error_ = name_ + ": cannot be copied to a temporary file: " + std::strerror(errno);
      return;
    }
  }
  struct stat info {};
  if (stat(path_.c_str(), &info) != 0) {
    error_ = name_ + ": " + std::strerror(errno);
    return;
  }
  if (S_ISDIR(info.st_mode)) {
    error_ = name_ + ": is a folder, not a parameter file";
    return;
  }
  handle_ = zemLoadFile(path_.c_str(), 1);
  const int code = zemGetErrorGlb();
  if (handle_ == nullptr) {
    error_ = name_ + ": " + (code != 0 ? zemGetErrorMessageFromErrorCode(code) : "cannot be loaded");
    return;
  }
  if (code != 0) {
    int line = 0, position = 0;
    const char* message = nullptr;
    zemGetSyntaxErr(handle_, &line, &position, &message);
    const std::string text = message != nullptr && *message != '\0' ? message : zemGetErrorMessageFromErrorCode(code);
    const SourceText& bytes = source();
    std::vector<Note> notes = loadErrorNotes(bytes, path_, text, line, position);
    bytes.pointAtCharacter(line, position);
    error_ = place(name_, line, position) + ": " + text;
    for (const Note& note : notes)
      error_.append("\n").append(place(name_, note.line, note.column)).append(": note: ").append(note.text);
    return;
  }
  if (!temporary_.empty()) {
    // Relative file names of standard input mean what they mean here.
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) != nullptr)
      zemSetAnchorFilename(zemGetRoot(handle_), (std::string(cwd) + "/-").c_str());
  }
}

Document::~Document() {
  if (handle_ != nullptr) zemClose(&handle_);
  if (!temporary_.empty()) std::remove(temporary_.c_str());
}

const SourceText& Document::source() {
  if (!sourceRead_) {
    sourceRead_ = true;
    source_.read(path_);
  }
  return source_;
}

bool Document::checkClobs() {
  if (ok() && handle_ != nullptr) error_ = firstBadClob(zemGetRoot(handle_), name_);
  return ok();
}

}  // namespace zemtool
