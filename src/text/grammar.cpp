// The generated engine of the parameter-file grammar (see grammar.y).
#include <cstring>

// Before the engine, whose prefix macros would rename the lexer member.
#include "text/grammar_tables.inc"
#include "text/zem_parser.hpp"
