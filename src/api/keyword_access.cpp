#include "api/keyword_access.hpp"

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/writable.hpp"
#include "model/node.hpp"
#include "results/result_file.hpp"

namespace zem::api {

int getResultFilePath(void* section, const char* name, const char** out, int instance, int param) {
  void* keyword = namedKeyword(section, name, instance);
  if (keyword == nullptr) return 0;
  void* value = zemParamByNum(keyword, childNumber(param));
  if (value == nullptr || out == nullptr) return 0;
  ResultPath path = resultFilePath(value);
  if (zemPeekErrorGlb() != 0 || path.state == ResultPath::kRefused) return 0;
  // A value of another kind leaves the call's buffer as it was: empty.
  *out = keepResultPath(*static_cast<CzemNode*>(static_cast<CzemBase*>(value)), std::move(path.path));
  return 1;
}

bool acceptPutFilename(void* handle, const char* name) {
  return acceptPut(handle, name == nullptr || isWritableFilename(name) ? nullptr : kInvalidFilename);
}

bool acceptPut(void* handle, const char* refusal) {
  if (refusal == nullptr) return true;
  if (CzemData* data = checkData(handle, false)) data->buildingError(refusal);
  return false;
}

const char* putRefusal(const char* keyword, const char* valueRefusal) {
  return isReadableName(keyword != nullptr ? keyword : "") ? valueRefusal : kInvalidName;
}

}  // namespace zem::api
