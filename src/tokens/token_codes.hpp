// Token codes and message texts of the token reader. Callers compare against
// these numbers and texts, so they never change.
#pragma once

namespace zem::tokens {

enum TokenCode : int {
  kTokenEnd = 0,
  kTokenError = -1,
  kTokenNoReader = -2,
  kTokenSection = 100,
  kTokenEndSect = 101,
  kTokenKeyword = 200,
  kTokenNoValue = 1000,
  kTokenTrue = 1010,
  kTokenFalse = 1011,
  kTokenInteger = 1020,
  kTokenReal = 1021,
  kTokenString = 1030,
  kTokenFilename = 1200,
};

inline constexpr const char* kMsgExpectedSection = "Format error. Expected start of section '['";
inline constexpr const char* kMsgSectionAtEnd = "Bad section, missing ], end of file reached";
inline constexpr const char* kMsgSectionBracket = "Bad section, expected ]";
inline constexpr const char* kMsgExpectedEndSect = "Expected EndSect definition";
inline constexpr const char* kMsgExpectedEquals = "Expected '=' for keyword definition";
inline constexpr const char* kMsgOpenString = "Bad string, missing closing quote '";
inline constexpr const char* kMsgOpenFilename = "Bad filename string, missing closing bar |";
inline constexpr const char* kMsgOpenBlockComment = "Bad comment, missing */";
inline constexpr const char* kMsgOpenBraceComment = "Bad comment, missing }";
inline constexpr const char* kMsgDigitAfterPoint = "Expecting digit after .";
inline constexpr const char* kMsgBadExponent = "Bad floating point exponent definition (e/E)";
// The file could not be read to its end: a read failed, or the file became
// shorter while it was read. Tokens read before stay valid; the last one may
// be cut short, so it is replaced by this error.
inline constexpr const char* kMsgReadFailed = "Read error, file truncated or unreadable";

}  // namespace zem::tokens
