// The zem command-line tool: check, format, query and convert parameter files
// through the public C interface.
#pragma once

#include <string>
#include <vector>

namespace zemtool {

// Exit statuses shared by every command.
enum Exit : int { kOk = 0, kInvalidInput = 1, kUsage = 2 };

// A loaded document, closed when it goes out of scope.
class Document {
 public:
  // Loads quietly; on failure `error()` holds a "FILE: message" or
  // "FILE:LINE:COLUMN: message" text.
  explicit Document(const std::string& fileName);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  void* handle() const { return handle_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// A value in the file's own syntax, file names resolved.
std::string renderValue(void* param);
// A keyword's values in file syntax, separated by ", ".
std::string renderValues(void* keyword);
// A value as JSON, keeping its kind.
std::string jsonValue(void* param);
// A JSON string literal.
std::string jsonString(const std::string& text);

int runCheck(const std::vector<std::string>& args);
int runCheckTemplate(const std::vector<std::string>& args);
int runFmt(const std::vector<std::string>& args);
int runGet(const std::vector<std::string>& args);
int runToJson(const std::vector<std::string>& args);
int runFromJson(const std::vector<std::string>& args);
int runSet(const std::vector<std::string>& args);
int runDel(const std::vector<std::string>& args);
int runDump(const std::vector<std::string>& args);
int runResultFolder(const std::vector<std::string>& args);
int runResultFile(const std::vector<std::string>& args);
int runTokens(const std::vector<std::string>& args);

// Prints "zem: <text>" to stderr and returns kUsage.
int usageError(const std::string& text, const char* help);
bool wantsHelp(const std::vector<std::string>& args);

}  // namespace zemtool
