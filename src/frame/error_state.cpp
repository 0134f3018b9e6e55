#include "frame/error_state.hpp"

#include <atomic>

#include "vox/vox.h"

namespace zem {
namespace {

// Process-wide by design: callers read one pending failure per process. It is
// atomic so that documents used on different threads at once do not race on
// it; which thread's failure it holds is then only as defined as their order.
std::atomic<int> globalCode{0};

}  // namespace

void storeError(int code) {
  int none = 0;
  globalCode.compare_exchange_strong(none, code, std::memory_order_relaxed);
}

void failWith(int code, const char* text, bool quiet) {
  storeError(code);
  if (!quiet) voxZemAPE(text);
}

void reportInvalidContext() { voxZemAPE(kInvalidContext); }

int takeError() { return globalCode.exchange(0, std::memory_order_relaxed); }

int peekError() { return globalCode.load(std::memory_order_relaxed); }

const char* errorText(int code) {
  switch (code) {
    case kErrStart:
      return "Error starting. (ERR_START, 1000)";
    case kErrFileOpen:
      return "Error opening file. (ERR_FILE_OPEN , 1001)";
    case kErrFileInit:
      return "Error initialising file. (ERR_FILE_INIT, 1002)";
    case kErrParse:
      return "Error parsing. (ERR_PARSE, 1003)";
    case kErrParserInit:
      return "Error initialising parsing. (ERR_PARSER_INIT, 1004)";
    case kErrHandle:
      return "Handle error (ERR_HANDLE, 1005)";
    case kErrNode:
      return "Node error (ERR_NODE, 1006)";
    case kErrNamedNode:
      return "Invalid named node error";
    case kErrKeyword:
      return "Invalid keyword error";
    case kErrSection:
      return "Invalid section error";
    case kErrIndex:
      return "Invalid index error";
    case kErrTargetList:
      return "Invalid target list error";
    case kErrParameter:
      return "Invalid parameter error";
    case kErrNotIndependent:
      return "Not an independent node error";
    case kErrParameterType:
      return "Invalid parameter type error";
    default:
      return "unknown error code";
  }
}

}  // namespace zem
