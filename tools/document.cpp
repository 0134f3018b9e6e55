#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {

Document::Document(const std::string& fileName) {
  struct stat info {};
  if (stat(fileName.c_str(), &info) != 0) {
    error_ = fileName + ": " + std::strerror(errno);
    return;
  }
  if (S_ISDIR(info.st_mode)) {
    error_ = fileName + ": is a folder, not a parameter file";
    return;
  }
  handle_ = zemLoadFile(fileName.c_str(), 1);
  const int code = zemGetErrorGlb();
  if (handle_ == nullptr) {
    error_ = fileName + ": " + (code != 0 ? zemGetErrorMessageFromErrorCode(code) : "cannot be loaded");
    return;
  }
  if (code != 0) {
    int line = 0, position = 0;
    const char* message = nullptr;
    zemGetSyntaxErr(handle_, &line, &position, &message);
    error_ = fileName + ":" + std::to_string(line) + ":" + std::to_string(position) + ": " +
             (message != nullptr && *message != '\0' ? message : zemGetErrorMessageFromErrorCode(code));
  }
}

Document::~Document() {
  if (handle_ != nullptr) zemClose(&handle_);
}

}  // namespace zemtool
