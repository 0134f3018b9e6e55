// Exports of the token reader. The reader keeps its errors itself: nothing
// here stores a global error code or reports.
#include "frame/error_state.hpp"
#include "tokens/token_codes.hpp"
#include "tokens/token_reader.hpp"
#include "zem/zem.h"

int zemtLoadFile(const char* fileName, CzemTokenReader** reader) {
  // With nowhere to hand the reader to, nothing is opened.
  if (reader == nullptr) return zem::kErrParserInit;
  return CzemTokenReader::open(fileName, reader);
}

int zemtNextToken(CzemTokenReader* reader) { return reader != nullptr ? reader->next() : zem::tokens::kTokenNoReader; }

const char* zemtGetTokenString(CzemTokenReader* reader) { return reader != nullptr ? reader->text() : ""; }

const char* zemtGetError(CzemTokenReader* reader, int* line, int* column) {
  int l = -1, c = -1;
  const char* message = reader != nullptr ? reader->error(l, c) : "";
  if (line != nullptr) *line = l;
  if (column != nullptr) *column = c;
  return message;
}

void zemtGetTokenPosition(CzemTokenReader* reader, int* line, int* column) {
  int l = -1, c = -1;
  if (reader != nullptr) reader->tokenStart(l, c);
  if (line != nullptr) *line = l;
  if (column != nullptr) *column = c;
}

void zemtDispose(CzemTokenReader** reader) {
  if (reader == nullptr) return;
  delete *reader;
  // A second dispose through the same pointer then finds null and does nothing.
  *reader = nullptr;
}
