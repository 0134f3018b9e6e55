// The library-wide error code, the message table and the reporting rule.
#pragma once

namespace zem {

// Codes of the message table. The table is append-only: stored callers compare
// against these numbers.
enum ErrorCode : int {
  kErrStart = 1000,
  kErrFileOpen = 1001,
  kErrFileInit = 1002,
  kErrParse = 1003,
  kErrParserInit = 1004,
  kErrHandle = 1005,
  kErrNode = 1006,
  kErrNamedNode = 1007,
  kErrKeyword = 1008,
  kErrSection = 1009,
  kErrIndex = 1010,
  kErrTargetList = 1011,
  kErrParameter = 1012,
  kErrNotIndependent = 1013,
  kErrParameterType = 1014,
};

// Builder status after a building failure; it has no text in the table.
inline constexpr int kBuilderFailed = 2000;

// The text every unsupported node operation reports.
inline constexpr const char* kInvalidContext = "Function invalid in this context";

// Stores `code` if no code is pending (first failure wins).
void storeError(int code);

// Stores `code` as storeError does and, unless `quiet`, reports `text` through voxZemAPE.
void failWith(int code, const char* text, bool quiet);

// Reports the "Function invalid in this context" text; sets no code.
void reportInvalidContext();

int takeError();  // returns the pending code and clears it
int peekError();  // returns the pending code

// The fixed text of a code, "unknown error code" for any other number.
const char* errorText(int code);

}  // namespace zem
