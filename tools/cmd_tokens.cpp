// zem tokens FILE: list a file's tokens as the token reader hands them out.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem tokens FILE\n"
    "Reads FILE ('-' for standard input) with the token reader and prints one token a line as\n"
    "'LINE:COLUMN CODE NAME \"TEXT\"' (the text in C string notation), without\n"
    "building a tree, so any file size streams. On an error prints\n"
    "'FILE:LINE:COLUMN: MESSAGE' to standard error and exits 1.\n";

const char* tokenName(int code) {
  switch (code) {
    case 0:
      return "end";
    case 100:
      return "section";
    case 101:
      return "endsect";
    case 200:
      return "keyword";
    case 1000:
      return "novalue";
    case 1010:
      return "true";
    case 1011:
      return "false";
    case 1020:
      return "integer";
    case 1021:
      return "real";
    case 1030:
      return "string";
    case 1200:
      return "filename";
    default:
      return "unknown";
  }
}


}  // namespace

int runTokens(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  if (args.size() != 1) return usageError("tokens needs one FILE", kHelp);
  // Standard input is spooled to a file first: the token reader reads files.
  const bool standardInput = args[0] == "-";
  const std::string file = standardInput ? "<stdin>" : args[0];
  const std::string path = standardInput ? spoolStandardInput() : args[0];
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), std::strerror(errno));
    return kInvalidInput;
  }
  CzemTokenReader* reader = nullptr;
  const int status = zemtLoadFile(path.c_str(), &reader);
  if (status != 0) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), zemGetErrorMessageFromErrorCode(status));
    if (standardInput) std::remove(path.c_str());
    return kInvalidInput;
  }
  int code;
  while ((code = zemtNextToken(reader)) > 0) {
    int line = 0, column = 0;
    zemtGetTokenPosition(reader, &line, &column);
    std::printf("%d:%d %d %s %s\n", line, column, code, tokenName(code), escapedText(zemtGetTokenString(reader), ControlEscape::kHex).c_str());
  }
  // An open comment at the end gives a clean-looking end with its error recorded.
  int line = 0, column = 0;
  const char* message = zemtGetError(reader, &line, &column);
  const bool failed = code < 0 || *message != '\0';
  if (failed) {
    SourceText text;
    if (text.read(path)) text.pointAtCharacter(line, column);
    std::fprintf(stderr, "%s:%d:%d: %s\n", file.c_str(), line, column, message);
  }
  zemtDispose(&reader);
  if (standardInput) std::remove(path.c_str());
  return failed ? kInvalidInput : kOk;
}

}  // namespace zemtool
