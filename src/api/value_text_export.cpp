// The value text of any parameter, for callers that render values in the
// file's own syntax (the command-line tool among them).
#include "frame/checks.hpp"
#include "model/values.hpp"
#include "zem/zem.h"

using namespace zem;

extern "C" const char* zemGetValueText(void* node) {
  CzemParam* param = checkParam(node, false);
  if (param == nullptr) return kEmptyText;
  // A braced-only value keeps its braced text beside an empty value text.
  if (param->GetSyntaxClass() == kSynUnknown) return param->auxTextCStr();
  // A CLOB keeps its items apart from the value text, and a bound string reads
  // its caller's variable; both hand out their content without a report.
  if (param->IsClob() != 0 || param->IsString() != 0) return param->GetString();
  return param->valueText().c_str();
}
