// Non-conformance reports of the template check and the process-wide quiet
// flag that silences them. A report is one text sent to the message library;
// it is a result of the check, never an error code.
#pragma once

namespace zem {

class CzemNode;

// The flag as last set by a check; it keeps its value until the next check.
void setEquivalenceQuiet(int quiet);
int equivalenceQuiet();

// "Error: <message>", then "\n\tTemp: <path>" for `first` and "\n\tCand: <path>"
// for `second` when given. Always yields 0, the result of a failed comparison.
int reportNodes(const char* message, CzemNode* first, CzemNode* second);
// "Error: <message>\n\tKeyw: <path of keyword>\n\tNo:<number>". Always yields 0.
int reportParam(const char* message, CzemNode& keyword, unsigned number);
// "Conflicting zemNode types" as a plain message: the pair is neither two
// sections nor two keywords. Always yields 0.
int reportConflictingTypes();

}  // namespace zem
