#include "equivalence/report.hpp"

#include <string>

#include "model/node.hpp"
#include "vox/vox.h"

namespace zem {
namespace {

// The message library's kind for template-check reports.
constexpr int kEquivalenceKind = 17;

// Process-wide by design: one comparison runs at a time, and callers ask
// afterwards which quiet setting the last one used.
int quietFlag = 0;

int send(const std::string& text) {
  if (quietFlag == 0) voxZemMsg(text.c_str(), kEquivalenceKind, nullptr);
  return 0;
}

}  // namespace

void setEquivalenceQuiet(int quiet) { quietFlag = quiet; }
int equivalenceQuiet() { return quietFlag; }

int reportNodes(const char* message, CzemNode* first, CzemNode* second) {
  if (quietFlag != 0) return 0;
  std::string text = std::string("Error: ") + message;
  if (first != nullptr) text.append("\n\tTemp: ").append(first->GetFullName());
  if (second != nullptr) text.append("\n\tCand: ").append(second->GetFullName());
  return send(text);
}

int reportParam(const char* message, CzemNode& keyword, unsigned number) {
  if (quietFlag != 0) return 0;
  std::string text = std::string("Error: ") + message;
  text.append("\n\tKeyw: ").append(keyword.GetFullName()).append("\n\tNo:").append(std::to_string(number));
  return send(text);
}

int reportConflictingTypes() {
  if (quietFlag == 0) voxZemAPE("Conflicting zemNode types");
  return 0;
}

}  // namespace zem
