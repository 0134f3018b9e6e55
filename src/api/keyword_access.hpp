// The keyword-keyed calls: one walk from a section to a keyword by name and
// instance and on to one of its values, or one new keyword with its values at
// the building cursor. They are built from the plain exports, and judge
// success by the global error code as it stands after each step.
#pragma once

#include <string_view>

#include "zem/zem.h"

namespace zem::api {

// An instance or value number of the caller: below 1 selects nothing.
inline unsigned int childNumber(int n) { return n < 1 ? 0u : static_cast<unsigned int>(n); }

// The keyword of that name and instance in `section`, or null.
inline void* namedKeyword(void* section, const char* name, int instance) {
  return zemKeywordByNameNum(section, name, childNumber(instance));
}

// Reads value `param` of the keyword with `read` and stores it into `out`,
// unless the keyword or value is missing or a code is pending after the read.
// Without a place for the result the walk still checks the section (an invalid
// one is reported as by any lookup), but the value is not read.
template <typename T, typename Read>
int getKeywordValue(void* section, const char* name, T* out, int instance, int param, Read read) {
  void* keyword = namedKeyword(section, name, instance);
  if (keyword == nullptr) return 0;
  void* value = zemParamByNum(keyword, childNumber(param));
  if (value == nullptr || out == nullptr) return 0;
  T result = read(value);
  if (zemPeekErrorGlb() != 0) return 0;
  *out = static_cast<T&&>(result);
  return 1;
}

// Adds a keyword, then its value with `add`; 1 when no code is pending after either step.
template <typename Add>
int putKeywordValue(void* handle, const char* name, Add add) {
  zemAddKeyword(handle, name);
  if (zemPeekErrorGlb() != 0) return 0;
  add(handle);
  return zemPeekErrorGlb() == 0 ? 1 : 0;
}

// The full path of a result file value, kept per value in its document (the
// text the library hands out must outlive the call); 0 also when the path
// would not fit the path limit.
int getResultFilePath(void* section, const char* name, const char** out, int instance, int param);

// A file name that the file could not hold refuses a put before anything is
// added: the handle's building error when it is a handle, else the handle
// check's failure. True when the put may go on.
bool acceptPutFilename(void* handle, const char* name);

// The same for any refusal text (null: nothing to refuse).
bool acceptPut(void* handle, const char* refusal);
// kInvalidName for a keyword name no file can hold, else `valueRefusal`:
// a put with a name the builder refuses would add its values to the keyword before.
const char* putRefusal(const char* keyword, const char* valueRefusal = nullptr);

}  // namespace zem::api
