// The item lexer of CLOB texts: one call takes one comma-terminated item off
// the text at a position. Used by the CLOB's read cursor and by its writer,
// which keeps a cursor of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zem {

// Item types, as bits of a read's type mask.
enum ClobType : int {
  kClobBoolean = 1,
  kClobInteger = 2,
  kClobFloat = 4,
  kClobDouble = 8,
  kClobString = 16,
  kClobFilename = 32,
  kClobAnyType = 63,
};

// Lexical classes: each is the set of types an item of that form can serve.
enum ClobItemClass : int {
  kClobWord = kClobBoolean,
  kClobIntegerLiteral = kClobInteger | kClobFloat | kClobDouble,
  kClobRealLiteral = kClobFloat | kClobDouble,
  kClobQuotedString = kClobString,
  kClobBarredName = kClobFilename,
};

inline constexpr const char* kClobEndMessage = "End of CLOB reached.";
inline constexpr const char* kClobSyntaxMessage = "CLOB syntax error detected.";

struct ClobLexeme {
  enum Outcome { kItem, kEnd, kSyntaxError };
  Outcome outcome = kEnd;
  int itemClass = 0;
  // The item as written (sign, point and exponent included); quoted strings
  // and barred names without their delimiters, "" reduced to ".
  std::string text;
  // Where the next item starts: after the item, its trailing blanks and its
  // comma. At the end or on a syntax error, the position that was given.
  std::size_t next = 0;
};

// Lexes the item that starts at `position` (leading white space skipped).
ClobLexeme lexClobItem(std::string_view clob, std::size_t position);

}  // namespace zem
