// The generated engine of the parameter-file grammar (see grammar.y).
#include <cstring>

// Before the engine, whose prefix macros would rename the lexer member.
#include "text/zem_parser.hpp"

// clang-format off
#include "text/grammar_tables.inc"
// clang-format on
