// zem: check, format, query and convert parameter files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {

constexpr const char* kToolHelp =
    "usage: zem COMMAND [ARGS]\n"
    "\n"
    "       zem --version\n"
    "\n"
    "Commands:\n"
    "  check FILE...                        load files, print counts or the first error\n"
    "  check --template TEMPLATE FILE...    check files against a template\n"
    "  fmt FILE [-o OUT | -i [--drop-comments]]\n"
    "                                       write a file back in the library's own form\n"
    "  get FILE PATH [KEYWORD [INSTANCE]]   print a section's contents or a keyword's values\n"
    "  to-json FILE                         print the document as JSON, nothing lost\n"
    "  from-json FILE.json [-o OUT]         write the parameter file a to-json text describes\n"
    "  set FILE PATH KEYWORD VALUE... [-o OUT | -i]\n"
    "                                       replace one keyword's values, nothing else\n"
    "  del FILE PATH [KEYWORD [INSTANCE]] [-o OUT | -i]\n"
    "                                       remove a section or keyword, nothing else\n"
    "  dump FILE [-o OUT]                   list every node with its class and values\n"
    "  result-folder FILE                   print the folder for the file's results\n"
    "  result-file FILE PATH KEYWORD        print the full path of a result file value\n"
    "  tokens FILE                          list the file's tokens, streaming\n"
    "\n"
    "FILE '-' reads standard input (check, fmt, get, to-json, tokens, from-json).\n"
    "'zem COMMAND --help' describes a command. Exit status: 0 success,\n"
    "1 invalid input, 2 usage error. Reports of the library go to standard error.\n";

int usageError(const std::string& text, const char* help) {
  std::fprintf(stderr, "zem: %s\n\n%s", text.c_str(), help);
  return kUsage;
}

bool wantsHelp(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

}  // namespace zemtool

int main(int argc, char** argv) {
  using namespace zemtool;
  if (argc < 2) return usageError("missing COMMAND", kToolHelp);
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kToolHelp, stdout);
    return kOk;
  }
  if (command == "--version" || command == "version") {
    std::printf("zem %s (library built %s)\n", ZEM_TOOL_VERSION, zemGetVersion());
    return kOk;
  }
  if (command == "check") return runCheck(args);
  if (command == "fmt") return runFmt(args);
  if (command == "get") return runGet(args);
  if (command == "to-json") return runToJson(args);
  if (command == "from-json") return runFromJson(args);
  if (command == "set") return runSet(args);
  if (command == "del") return runDel(args);
  if (command == "dump") return runDump(args);
  if (command == "result-folder") return runResultFolder(args);
  if (command == "result-file") return runResultFile(args);
  if (command == "tokens") return runTokens(args);
  return usageError("unknown command '" + command + "'", kToolHelp);
}
