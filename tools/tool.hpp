// The zem command-line tool: check, format, query and convert parameter files
// through the public C interface.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "source_text.hpp"

namespace zemtool {

// Exit statuses shared by every command.
enum Exit : int { kOk = 0, kInvalidInput = 1, kUsage = 2 };

// A loaded document, closed when it goes out of scope.
class Document {
 public:
  // Loads quietly; "-" reads standard input, whose relative file names
  // resolve against the current folder. On failure `error()` holds
  // "NAME: message" or "NAME:LINE:COLUMN: message", followed by lines
  // "NAME:LINE:COLUMN: note: ..." that say where to act.
  explicit Document(const std::string& fileName);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  void* handle() const { return handle_; }
  // The name for messages: the file name, or "<stdin>".
  const std::string& name() const { return name_; }
  // The file that was loaded (a temporary copy for standard input).
  const std::string& path() const { return path_; }
  // The bytes that were loaded, read on first use.
  const SourceText& source();
  // Reads every CLOB item of the document; the first that does not read
  // fails the document with its message and place. Returns ok().
  bool checkClobs();

 private:
  void* handle_ = nullptr;
  std::string name_, path_, temporary_;
  SourceText source_;
  bool sourceRead_ = false;
  std::string error_;
};

// Copies standard input into a new temporary file; "" when that fails.
std::string spoolStandardInput();

// A value in the file's own syntax, file names resolved.
std::string renderValue(void* param);
// `text` in double quotes for one line of output: quotes, backslashes, line
// ends and tabs escaped with a backslash, other control bytes as \u00XX
// (JSON) or \xXX; every other byte, UTF-8 included, stays as it is.
enum class ControlEscape { kJson, kHex };
std::string escapedText(std::string_view text, ControlEscape form);
// A keyword's values in file syntax, separated by ", ".
std::string renderValues(void* keyword);
// "Section/Path:instance Keyword", instance numbers only where a name repeats.
std::string nodeLocation(void* node);

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

// Why a section PATH ("A/B:2/C" or "A.B:2.C") is malformed: an empty name
// (as in "A//B", "/A" or "A/"), a bad instance ("A:x", "A:0"); "" when it is
// well formed.
std::string pathFault(const std::string& path);
// The section PATH of a loaded document; null after printing why not:
// `status` becomes kUsage for a malformed path, kInvalidInput for a missing section.
void* findSection(Document& doc, const std::string& path, int& status);

// Prints "zem: <text>" to stderr and returns kUsage.
int usageError(const std::string& text, const char* help);
bool wantsHelp(const std::vector<std::string>& args);

}  // namespace zemtool
