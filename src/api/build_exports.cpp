// Building exports: a document is filled in file order through the handle's
// insertion cursor. Every call exists as a plain variant (reports failures) and
// a quiet "S" variant (silences the handle and returns the builder status).
#include "api/api_support.hpp"
#include "frame/writable.hpp"
#include "model/value_factory.hpp"
#include "model/values.hpp"
#include "zem/zem.h"

using namespace zem;
using zem::api::Builder;
using zem::api::buildPlain;
using zem::api::buildQuiet;
using zem::api::textArg;

namespace {

constexpr Builder kAny = Builder::kAnyDocument;

auto addTarget(const char* name) {
  return [name](CzemData& d) { d.addTarget(textArg(name)); };
}
auto addSection(const char* name) {
  return [name](CzemData& d) { d.addSection(textArg(name)); };
}
auto endSection() {
  return [](CzemData& d) { d.endSection(); };
}
auto addKeyword(const char* name) {
  return [name](CzemData& d) { d.addKeyword(textArg(name)); };
}
// `make` creates the value only once the step runs, after the handle passed its check.
template <typename Make>
auto appendValue(Make make) {
  return [make](CzemData& d) { d.appendValue(make()); };
}
// The same for a value that is refused with `refusal` unless `writable`: the
// tree stays as it was.
template <typename Make>
auto appendChecked(bool writable, const char* refusal, Make make) {
  return [=](CzemData& d) {
    if (writable) {
      d.appendValue(make());
    } else {
      d.buildingError(refusal);
    }
  };
}

auto addInt(int value) {
  return appendValue([value] { return new CzemInt(value); });
}
auto addFloat(float value) {
  return appendChecked(isWritableNumber(value), kInvalidNumber, [value] { return new CzemFloat(value); });
}
auto addDouble(double value) {
  return appendChecked(isWritableNumber(value), kInvalidNumber, [value] { return new CzemDouble(value); });
}
// The int is kept as given, so a caller's non-zero "true" reads back unchanged.
auto addBool(int value) {
  return appendValue([value] { return new CzemBool(value); });
}
auto addString(const char* text) {
  return appendValue([text] { return new CzemString(textArg(text)); });
}
auto addFilename(const char* name) {
  return appendChecked(isWritableFilename(textArg(name)), kInvalidFilename,
                       [name] { return makeFilenameValue(textArg(name)); });
}
auto addUndefinedPar() {
  return appendValue([] { return new CzemUndefinedPar(); });
}

}  // namespace

extern "C" {

void zemAddTarget(void* handle, const char* name) { buildPlain(handle, kAny, addTarget(name)); }
int zemAddTargetS(void* handle, const char* name) { return buildQuiet(handle, kAny, addTarget(name)); }
void zemAddSection(void* handle, const char* name) { buildPlain(handle, kAny, addSection(name)); }
int zemAddSectionS(void* handle, const char* name) { return buildQuiet(handle, kAny, addSection(name)); }
void zemEndSection(void* handle) { buildPlain(handle, kAny, endSection()); }
int zemEndSectionS(void* handle) { return buildQuiet(handle, kAny, endSection()); }
void zemAddKeyword(void* handle, const char* name) { buildPlain(handle, kAny, addKeyword(name)); }
int zemAddKeywordS(void* handle, const char* name) { return buildQuiet(handle, kAny, addKeyword(name)); }

void zemAddInt(void* handle, int value) { buildPlain(handle, kAny, addInt(value)); }
int zemAddIntS(void* handle, int value) { return buildQuiet(handle, kAny, addInt(value)); }
void zemAddFloat(void* handle, float value) { buildPlain(handle, kAny, addFloat(value)); }
int zemAddFloatS(void* handle, float value) { return buildQuiet(handle, kAny, addFloat(value)); }
void zemAddDouble(void* handle, double value) { buildPlain(handle, kAny, addDouble(value)); }
int zemAddDoubleS(void* handle, double value) { return buildQuiet(handle, kAny, addDouble(value)); }
void zemAddBool(void* handle, int value) { buildPlain(handle, kAny, addBool(value)); }
int zemAddBoolS(void* handle, int value) { return buildQuiet(handle, kAny, addBool(value)); }
void zemAddString(void* handle, const char* text) { buildPlain(handle, kAny, addString(text)); }
int zemAddStringS(void* handle, const char* text) { return buildQuiet(handle, kAny, addString(text)); }
void zemAddFilename(void* handle, const char* name) { buildPlain(handle, kAny, addFilename(name)); }
int zemAddFilenameS(void* handle, const char* name) { return buildQuiet(handle, kAny, addFilename(name)); }
void zemAddUndefinedPar(void* handle) { buildPlain(handle, kAny, addUndefinedPar()); }
int zemAddUndefinedParS(void* handle) { return buildQuiet(handle, kAny, addUndefinedPar()); }

}  // extern "C"
