#include "edit_text.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

mode_t creationMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Writes `text` to a new temporary file in `folder`; "" when that fails.
std::string writeTemporary(const std::string& folder, const std::string& text) {
  std::string name = folder + "/.zem-edit-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return "";
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool ok = done == text.size() && fsync(fd) == 0;
  if (close(fd) != 0 || !ok) {
    std::remove(name.c_str());
    return "";
  }
  return name;
}

// The load error of the edited text, "" when it loads; `verify` runs on the loaded document.
std::string loadError(const std::string& temporary, const std::function<std::string(void*)>& verify) {
  void* handle = zemLoadFile(temporary.c_str(), 1);
  const int code = zemGetErrorGlb();
  std::string error;
  if (handle == nullptr) {
    error = code != 0 ? zemGetErrorMessageFromErrorCode(code) : "cannot be loaded";
  } else if (code != 0) {
    int line = 0, position = 0;
    const char* message = nullptr;
    zemGetSyntaxErr(handle, &line, &position, &message);
    SourceText text;
    if (text.read(temporary)) text.pointAtCharacter(line, position);
    error = "line " + std::to_string(line) + ", column " + std::to_string(position) + ": " +
            (message != nullptr && *message != '\0' ? message : zemGetErrorMessageFromErrorCode(code));
  } else {
    error = verify(handle);
  }
  if (handle != nullptr) zemClose(&handle);
  return error;
}

}  // namespace

int parseEditArgs(const std::vector<std::string>& args, const char* help, std::vector<std::string>& positional,
                  EditTarget& target) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-i") {
      target.inPlace = true;
    } else if (args[i] == "-o") {
      if (++i == args.size()) return usageError("-o needs a file name", help);
      target.out = args[i];
    } else {
      positional.push_back(args[i]);
    }
  }
  if (target.inPlace && !target.out.empty()) return usageError("-i and -o exclude each other", help);
  return kOk;
}

bool parseInstance(const std::string& text, unsigned& out) {
  char* end = nullptr;
  const unsigned long n = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || text[0] == '-' || *end != '\0' || n == 0 || n > 0xFFFFFFFFul) return false;
  out = static_cast<unsigned>(n);
  return true;
}

bool splitInstance(const std::string& arg, std::string& name, unsigned& instance) {
  const std::size_t colon = arg.rfind(':');
  instance = 1;
  name = arg.substr(0, colon);
  return colon == std::string::npos || parseInstance(arg.substr(colon + 1), instance);
}

bool nodeRange(const SourceText& text, void* node, std::size_t& begin, std::size_t& end) {
  int line = 0, column = 0, endLine = 0, endColumn = 0;
  if (zemGetNodeSpan(node, &line, &column, &endLine, &endColumn) == 0) return false;
  begin = text.offset(line, column);
  end = text.offset(endLine, endColumn);
  return begin <= end;
}

int finishEdit(const std::string& file, const std::string& place, const std::string& edited, const EditTarget& target,
               const std::function<std::string(void* handle)>& verify) {
  // In place means the file a link points to: the link itself stays.
  std::string destination = target.out;
  if (target.inPlace) {
    char* real = realpath(file.c_str(), nullptr);
    destination = real != nullptr ? real : file;
    std::free(real);
  }
  // Checked beside the destination (beside FILE for standard output), so
  // that relative file names mean what they will mean there.
  std::string temporary = writeTemporary(folderOf(destination.empty() ? file : destination), edited);
  if (temporary.empty() && destination.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    temporary = writeTemporary(tmp != nullptr ? tmp : "/tmp", edited);
  }
  if (temporary.empty()) {
    std::fprintf(stderr, "%s: cannot write a temporary file beside %s: %s; nothing was changed\n", place.c_str(),
                 (destination.empty() ? file : destination).c_str(), std::strerror(errno));
    return kInvalidInput;
  }
  const std::string error = loadError(temporary, verify);
  if (!error.empty()) {
    std::remove(temporary.c_str());
    std::fprintf(stderr, "%s: the edited text does not load (%s); nothing was changed\n", file.c_str(), error.c_str());
    return kInvalidInput;
  }
  if (destination.empty()) {
    std::remove(temporary.c_str());
    const bool written = std::fwrite(edited.data(), 1, edited.size(), stdout) == edited.size();
    return std::fflush(stdout) == 0 && written ? kOk : kInvalidInput;
  }
  struct stat existing {};
  const mode_t mode = stat(destination.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : creationMode();
  if (chmod(temporary.c_str(), mode) != 0 || std::rename(temporary.c_str(), destination.c_str()) != 0) {
    const int why = errno;
    std::remove(temporary.c_str());
    std::fprintf(stderr, "%s: cannot replace %s: %s; nothing was changed\n", place.c_str(), destination.c_str(),
                 std::strerror(why));
    return kInvalidInput;
  }
  return kOk;
}

}  // namespace zemtool
