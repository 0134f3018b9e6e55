// The keyword-keyed overloads: C++ functions, exported under their mangled names.
#include <cmath>
#include <cstdarg>
#include <string>

#include "api/keyword_access.hpp"
#include "frame/writable.hpp"
#include "results/result_file.hpp"
#include "zem/zem.hpp"

using zem::api::acceptPut;
using zem::api::acceptPutFilename;
using zem::api::getKeywordValue;
using zem::api::namedKeyword;
using zem::api::putKeywordValue;
using zem::api::putRefusal;

namespace {

std::string copyOf(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

// ---- single values ------------------------------------------------------------

int zemGetParam(void* section, const char* keyword, int* out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, zemGetInt);
}
int zemGetParam(void* section, const char* keyword, float* out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, zemGetFloat);
}
int zemGetParam(void* section, const char* keyword, double* out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, zemGetDouble);
}
int zemGetParam(void* section, const char* keyword, bool* out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, [](void* v) { return zemGetBool(v) != 0; });
}
int zemGetParam(void* section, const char* keyword, std::string* out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, [](void* v) { return copyOf(zemGetString(v)); });
}
int zemGetParamFilename(void* section, const char* keyword, const char** out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, zemGetFilename);
}
int zemGetParamFilename(void* section, const char* keyword, std::string* out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, [](void* v) { return copyOf(zemGetFilename(v)); });
}
int zemGetParamResultFilename(void* section, const char* keyword, const char** out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param, zemGetResultFilename);
}
int zemGetParamResultFilename(void* section, const char* keyword, std::string* out, int instance, int param) {
  return getKeywordValue(section, keyword, out, instance, param,
                         [](void* v) { return copyOf(zemGetResultFilename(v)); });
}
int zemGetParamResultFilePath(void* section, const char* keyword, const char** out, int instance, int param) {
  return zem::api::getResultFilePath(section, keyword, out, instance, param);
}

int zemPutParam(void* handle, const char* keyword, int value) {
  if (!acceptPut(handle, putRefusal(keyword))) return 0;
  return putKeywordValue(handle, keyword, [value](void* h) { zemAddInt(h, value); });
}
int zemPutParam(void* handle, const char* keyword, float value) {
  if (!acceptPut(handle, putRefusal(keyword, zem::isWritableNumber(value) ? nullptr : zem::kInvalidNumber))) return 0;
  return putKeywordValue(handle, keyword, [value](void* h) { zemAddFloat(h, value); });
}
int zemPutParam(void* handle, const char* keyword, double value) {
  if (!acceptPut(handle, putRefusal(keyword, zem::isWritableNumber(value) ? nullptr : zem::kInvalidNumber))) return 0;
  return putKeywordValue(handle, keyword, [value](void* h) { zemAddDouble(h, value); });
}
int zemPutParam(void* handle, const char* keyword, bool value) {
  if (!acceptPut(handle, putRefusal(keyword))) return 0;
  return putKeywordValue(handle, keyword, [value](void* h) { zemAddBool(h, value ? 1 : 0); });
}
int zemPutParam(void* handle, const char* keyword, const char* value) {
  if (!acceptPut(handle, putRefusal(keyword))) return 0;
  return putKeywordValue(handle, keyword, [value](void* h) { zemAddString(h, value); });
}
int zemPutParam(void* handle, const char* keyword, std::string value) {
  if (!acceptPut(handle, putRefusal(keyword))) return 0;
  return putKeywordValue(handle, keyword, [&value](void* h) { zemAddString(h, value.c_str()); });
}
int zemPutParamFilename(void* handle, const char* keyword, const char* name) {
  if (!acceptPut(handle, putRefusal(keyword)) || !acceptPutFilename(handle, name)) return 0;
  return putKeywordValue(handle, keyword, [name](void* h) { zemAddFilename(h, name); });
}
int zemPutParamResultFilename(void* handle, const char* keyword, const char* name) {
  const bool storable = name == nullptr || zem::isStorableResultFilename(name);
  if (!acceptPut(handle, putRefusal(keyword)) || !acceptPut(handle, storable ? nullptr : zem::kInvalidFilename))
    return 0;
  return putKeywordValue(handle, keyword, [name](void* h) { zemAddResultFilename(h, name); });
}

// ---- lists ----------------------------------------------------------------------

namespace {

// Reads one value by its format letter into the next result pointer; false
// when a code is pending after the read.
bool getByLetter(char letter, void* value, va_list& args) {
  auto store = [](auto* out, auto result) {
    if (zemPeekErrorGlb() != 0) return false;
    if (out != nullptr) *out = std::move(result);
    return true;
  };
  switch (letter) {
    case 'b': {
      bool* out = va_arg(args, bool*);
      return store(out, zemGetBool(value) != 0);
    }
    case 'd': {
      double* out = va_arg(args, double*);
      return store(out, zemGetDouble(value));
    }
    case 'f': {
      float* out = va_arg(args, float*);
      return store(out, zemGetFloat(value));
    }
    case 'i': {
      int* out = va_arg(args, int*);
      return store(out, zemGetInt(value));
    }
    case 'n': {
      std::string* out = va_arg(args, std::string*);
      return store(out, copyOf(zemGetFilename(value)));
    }
    case 's': {
      std::string* out = va_arg(args, std::string*);
      return store(out, copyOf(zemGetString(value)));
    }
    default:
      return true;
  }
}

// Adds one value by its format letter from the next argument.
void putByLetter(void* handle, char letter, va_list& args) {
  switch (letter) {
    case 'b':
      zemAddBool(handle, va_arg(args, int) & 0xFF);  // a bool arrives promoted to int
      break;
    case 'd':
      zemAddDouble(handle, va_arg(args, double));
      break;
    case 'f':
      zemAddFloat(handle, static_cast<float>(va_arg(args, double)));
      break;
    case 'i':
      zemAddInt(handle, va_arg(args, int));
      break;
    case 'n':
      zemAddFilename(handle, copyOf(va_arg(args, const char*)).c_str());
      break;
    case 's':
      zemAddString(handle, copyOf(va_arg(args, const char*)).c_str());
      break;
    default:
      break;
  }
}

// Takes the next argument of a letter without using it.
void skipByLetter(char letter, va_list& args) {
  switch (letter) {
    case 'b':
    case 'i':
      va_arg(args, int);
      break;
    case 'd':
    case 'f':
      va_arg(args, double);
      break;
    default:
      break;
  }
}

// Why the first value of the list that no file could hold is refused, or null.
const char* listRefusal(const char* format, va_list& args) {
  for (const char* letter = format; *letter != '\0'; ++letter) {
    if (*letter == 'd' || *letter == 'f') {
      const double value = va_arg(args, double);
      const bool fits = *letter == 'd' || std::isfinite(static_cast<float>(value));
      if (!fits || !zem::isWritableNumber(value)) return zem::kInvalidNumber;
      continue;
    }
    if (*letter != 'n' && *letter != 's') {
      skipByLetter(*letter, args);
      continue;
    }
    const char* text = va_arg(args, const char*);
    if (*letter == 'n' && text != nullptr && !zem::isWritableFilename(text)) return zem::kInvalidFilename;
  }
  return nullptr;
}

}  // namespace

int zemGetListParam(void* section, const char* keyword, int instance, const char* format, ...) {
  void* kw = namedKeyword(section, keyword, instance);
  if (kw == nullptr) return 0;
  if (format == nullptr) return 1;
  va_list args;
  va_start(args, format);
  int result = 1;
  for (unsigned int k = 1; format[k - 1] != '\0'; ++k) {
    void* value = zemParamByNum(kw, k);
    if (value == nullptr || !getByLetter(format[k - 1], value, args)) {
      result = 0;
      break;
    }
  }
  va_end(args);
  return result;
}

int zemPutListParam(void* handle, const char* keyword, const char* format, ...) {
  va_list args;
  const char* refusal = nullptr;
  if (format != nullptr) {
    va_start(args, format);
    refusal = listRefusal(format, args);
    va_end(args);
  }
  if (!acceptPut(handle, putRefusal(keyword, refusal))) return 0;
  zemAddKeyword(handle, keyword);
  if (zemPeekErrorGlb() != 0) return 0;
  if (format == nullptr) return 1;
  va_start(args, format);
  int result = 1;
  for (const char* letter = format; *letter != '\0'; ++letter) {
    putByLetter(handle, *letter, args);
    if (zemPeekErrorGlb() != 0) {
      result = 0;
      break;
    }
  }
  va_end(args);
  return result;
}
