// CzemTokenReader: a pull-style tokenizer over a parameter file. It hands out
// one token at a time (section start, keyword, value, EndSect) without building
// nodes, keeps its own errors, and touches neither the global error code nor
// the message library.
//
// The class lives in the global namespace: zem.h declares the C tag
// `struct CzemTokenReader`, and callers hold pointers to this very type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tokens/state_stack.hpp"
#include "tokens/token_source.hpp"

struct CzemTokenReader {
 public:
  // Opens `fileName` and stores a new reader in `out`: 0, or 1002 when the
  // source cannot be made, 1001 when the file cannot be opened, 1004 when the
  // reader cannot be made; `out` is left alone then and nothing stays open.
  static int open(const char* fileName, CzemTokenReader** out,
                  std::size_t blockSize = zem::tokens::TokenSource::kBlockSize);
  virtual ~CzemTokenReader() = default;
  CzemTokenReader(const CzemTokenReader&) = delete;
  CzemTokenReader& operator=(const CzemTokenReader&) = delete;

  // The next token's code; 0 once the input is done, and on every call after that.
  int next();
  const char* text() const { return text_.c_str(); }
  // The last error's text, "" when none was recorded (its place is then 0, 0).
  const char* error(int& line, int& column) const;
  // Where the last token starts: the line and column of its first character,
  // or of the place just after the input for the end.
  void tokenStart(int& line, int& column) const;

  // The counters of the source, for tests of the reading position.
  const zem::tokens::TokenSource& source() const { return *source_; }

 private:
  explicit CzemTokenReader(std::unique_ptr<zem::tokens::TokenSource> source);

  int step();
  int skipBlanks(bool markToken);
  bool skipBlockComment();
  int sectionHeader();
  int keyword(int first);
  int value();
  int number(int c);
  int fail(const char* message);
  void record(const char* message);

  zem::tokens::StateStack states_;
  std::unique_ptr<zem::tokens::TokenSource> source_;
  std::string text_;
  std::uint32_t errorLine_ = 0, errorColumn_ = 0;
  std::string message_;  // holds room for the longest message, so recording one never allocates
  bool hasError_ = false;
  bool readFailureReported_ = false;
  std::uint32_t tokenLine_ = 1, tokenColumn_ = 1;
};
