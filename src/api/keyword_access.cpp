#include "api/keyword_access.hpp"

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "model/node.hpp"
#include "results/result_file.hpp"

namespace zem::api {

int getResultFilePath(void* section, const char* name, const char** out, int instance, int param) {
  if (out == nullptr) return 0;
  void* keyword = namedKeyword(section, name, instance);
  if (keyword == nullptr) return 0;
  void* value = zemParamByNum(keyword, childNumber(param));
  if (value == nullptr) return 0;
  ResultPath path = resultFilePath(value);
  if (zemPeekErrorGlb() != 0 || path.state == ResultPath::kRefused) return 0;
  // A value of another kind leaves the call's buffer as it was: empty.
  *out = keepResultPath(*static_cast<CzemNode*>(static_cast<CzemBase*>(value)), std::move(path.path));
  return 1;
}

bool acceptPutFilename(void* handle, const char* name) {
  if (name == nullptr || isStorableFilename(name)) return true;
  if (CzemData* data = checkData(handle, false)) data->buildingError(kUnstorableFilename);
  return false;
}

}  // namespace zem::api
