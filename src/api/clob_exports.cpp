// Exports of CLOB values: appending items while building, reading them one by
// one through the CLOB's cursor, resetting and testing it.
#include <string>

#include "clob/clob.hpp"
#include "clob/clob_item_forms.hpp"
#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "frame/writable.hpp"
#include "model/value_factory.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

using namespace zem;

namespace {

// Returned by the quiet variants only; the global code gets 1006 or 1003.
constexpr int kNotAClob = 1015;
constexpr int kReadFailed = 2002;

// The handle's current CLOB, else the pointer itself taken as a CLOB. Both
// accesses run with the same reporting, so a CLOB node passed in place of a
// handle first fails (and, loud, reports) as a handle.
CzemClob* appendTarget(void* handleOrClob, bool quiet) {
  CzemNode* clob = currentClobOf(handleOrClob, quiet);
  if (clob == nullptr) clob = checkClob(handleOrClob, quiet);
  return clob != nullptr ? asClob(clob) : nullptr;
}

int appendItem(void* handleOrClob, const std::string& itemText, bool quiet) {
  CzemClob* clob = appendTarget(handleOrClob, quiet);
  if (clob == nullptr) return kErrHandle;
  clob->append(itemText);
  return 0;
}

// An item that would not read back is refused with `refusal`: a building
// error of the handle, or 1012 for a CLOB given in its place. The CLOB stays
// as it was; the S variants return 2000. A plain refusal leaves the status
// pending, as every plain building call does, so that neither it nor an
// earlier failure is lost to the next quiet call.
int refuseItem(void* handleOrClob, const char* refusal, bool quiet) {
  CzemData* data = dynamic_cast<CzemData*>(handleOrClob != nullptr ? static_cast<CzemBase*>(handleOrClob) : nullptr);
  if (data != nullptr && data->currentClob() != nullptr) {
    // Appending leaves the silent flag as it was, a refused item too.
    if (quiet) {
      data->recordBuildingError(refusal);
      data->takeStatus();
    } else {
      data->buildingError(refusal);
    }
    return kBuilderFailed;
  }
  if (appendTarget(handleOrClob, quiet) == nullptr) return kErrHandle;
  storeError(kErrParameter);
  if (!quiet) voxZemAPE(refusal);
  return kBuilderFailed;
}

int appendChecked(void* handleOrClob, bool writable, const char* refusal, bool quiet, std::string (*item)(double),
                  double value) {
  return writable ? appendItem(handleOrClob, item(value), quiet) : refuseItem(handleOrClob, refusal, quiet);
}

std::string floatItem(double value) { return clobFloatItem(static_cast<float>(value)); }

int appendText(void* handleOrClob, std::string_view text, bool writable, const char* refusal, bool quiet,
               std::string (*item)(std::string_view)) {
  return writable ? appendItem(handleOrClob, item(text), quiet) : refuseItem(handleOrClob, refusal, quiet);
}

std::string_view textOrEmpty(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

// One read with `typeMask`. A failure stores 1003 and, when loud, reports the
// CLOB message. Returns the item (null when the read made none) and sets
// `failed`.
CzemNode* readItem(CzemClob* clob, int typeMask, bool quiet, bool& failed) {
  clob->read(typeMask);
  // Reading any item, the end is no failure: callers ask zemIsClobEnd.
  if (typeMask == kClobAnyType && clob->atEnd()) clob->clearMessage();
  failed = !clob->message().empty();
  if (failed) {
    storeError(kErrParse);
    if (!quiet) voxZemAPE(clob->message().c_str());
  }
  return clob->item();
}

// The plain reading pattern: the value of the item, or `neutral` on failure.
template <typename T, typename Take>
T readPlain(void* node, int typeMask, T neutral, Take take) {
  CzemNode* checked = checkClob(node, false);
  if (checked == nullptr) return neutral;
  bool failed = false;
  CzemNode* item = readItem(asClob(checked), typeMask, false, failed);
  return failed || item == nullptr ? neutral : take(item);
}

// The quiet reading pattern: `out` gets the value (or `neutral`) whatever the
// outcome, unless the pointer is no CLOB.
template <typename T, typename Take>
int readQuiet(void* node, int typeMask, T* out, T neutral, Take take) {
  CzemNode* checked = checkClob(node, true);
  if (checked == nullptr) return kNotAClob;
  bool failed = false;
  CzemNode* item = readItem(asClob(checked), typeMask, true, failed);
  if (out != nullptr) *out = item != nullptr ? take(item) : neutral;
  return failed ? kReadFailed : 0;
}

constexpr auto takeBool = [](CzemNode* item) { return item->GetBool(); };
constexpr auto takeInt = [](CzemNode* item) { return item->GetInt(); };
constexpr auto takeFloat = [](CzemNode* item) { return item->GetFloat(); };
constexpr auto takeDouble = [](CzemNode* item) { return item->GetDouble(); };
constexpr auto takeString = [](CzemNode* item) -> const char* { return item->GetString(); };
constexpr auto takeFilename = [](CzemNode* item) -> const char* { return item->GetFilename(); };
constexpr auto takeItem = [](CzemNode* item) -> void* { return static_cast<CzemBase*>(item); };

// zemAddClob and zemAddClobS: a new empty CLOB as the next value of the
// current keyword, which also makes it the handle's current CLOB.
int addClob(void* handle, bool quiet) {
  CzemData* data = checkData(handle, quiet);
  if (data == nullptr) return kErrHandle;
  if (quiet) data->setSilent();
  data->appendValue(makeEmptyClob());
  return quiet ? data->takeStatus() : 0;
}

}  // namespace

extern "C" {

void zemAddClob(void* handle) { addClob(handle, false); }
int zemAddClobS(void* handle) { return addClob(handle, true); }

void zemAddClobBool(void* handle, int value) { appendItem(handle, clobBoolItem(value), false); }
int zemAddClobBoolS(void* handle, int value) { return appendItem(handle, clobBoolItem(value), true); }
void zemAddClobInt(void* handle, int value) { appendItem(handle, clobIntItem(value), false); }
int zemAddClobIntS(void* handle, int value) { return appendItem(handle, clobIntItem(value), true); }
void zemAddClobFloat(void* handle, float value) {
  appendChecked(handle, isWritableNumber(value), kInvalidNumber, false, floatItem, value);
}
int zemAddClobFloatS(void* handle, float value) {
  return appendChecked(handle, isWritableNumber(value), kInvalidNumber, true, floatItem, value);
}
void zemAddClobDouble(void* handle, double value) {
  appendChecked(handle, isWritableNumber(value), kInvalidNumber, false, clobDoubleItem, value);
}
int zemAddClobDoubleS(void* handle, double value) {
  return appendChecked(handle, isWritableNumber(value), kInvalidNumber, true, clobDoubleItem, value);
}
void zemAddClobString(void* handle, const char* text) { appendItem(handle, clobStringItem(textOrEmpty(text)), false); }
int zemAddClobStringS(void* handle, const char* text) {
  return appendItem(handle, clobStringItem(textOrEmpty(text)), true);
}
void zemAddClobFilename(void* handle, const char* name) {
  appendText(handle, textOrEmpty(name), isWritableFilename(textOrEmpty(name)), kInvalidFilename, false,
             clobFilenameItem);
}
int zemAddClobFilenameS(void* handle, const char* name) {
  return appendText(handle, textOrEmpty(name), isWritableFilename(textOrEmpty(name)), kInvalidFilename, true,
                    clobFilenameItem);
}

int zemGetClobBool(void* node) { return readPlain(node, kClobBoolean, 0, takeBool); }
int zemGetClobBoolS(void* node, int* out) { return readQuiet(node, kClobBoolean, out, 0, takeBool); }
int zemGetClobInt(void* node) { return readPlain(node, kClobInteger, 0, takeInt); }
int zemGetClobIntS(void* node, int* out) { return readQuiet(node, kClobInteger, out, 0, takeInt); }
float zemGetClobFloat(void* node) { return readPlain(node, kClobFloat, 0.0f, takeFloat); }
int zemGetClobFloatS(void* node, float* out) { return readQuiet(node, kClobFloat, out, 0.0f, takeFloat); }
double zemGetClobDouble(void* node) { return readPlain(node, kClobDouble, 0.0, takeDouble); }
int zemGetClobDoubleS(void* node, double* out) { return readQuiet(node, kClobDouble, out, 0.0, takeDouble); }

const char* zemGetClobString(void* node) { return readPlain<const char*>(node, kClobString, nullptr, takeString); }
int zemGetClobStringS(void* node, const char** out) {
  return readQuiet<const char*>(node, kClobString, out, nullptr, takeString);
}
const char* zemGetClobFilename(void* node) {
  return readPlain<const char*>(node, kClobFilename, nullptr, takeFilename);
}
int zemGetClobFilenameS(void* node, const char** out) {
  return readQuiet<const char*>(node, kClobFilename, out, nullptr, takeFilename);
}
void* zemGetClobItem(void* node) { return readPlain<void*>(node, kClobAnyType, nullptr, takeItem); }
int zemGetClobItemS(void* node, void** out) { return readQuiet<void*>(node, kClobAnyType, out, nullptr, takeItem); }

void zemClobReset(void* node, int clear) {
  if (CzemNode* clob = checkClob(node, false)) asClob(clob)->reset(clear != 0);
}
int zemClobResetS(void* node, int clear) {
  CzemNode* clob = checkClob(node, true);
  if (clob == nullptr) return kNotAClob;
  asClob(clob)->reset(clear != 0);
  return 0;
}

int zemIsClob(void* node) {
  CzemNode* n = checkNode(node, false);
  return n != nullptr ? n->IsClob() : 0;
}

int zemIsClobEnd(void* node) {
  CzemNode* clob = checkClob(node, false);
  return clob != nullptr && asClob(clob)->atEnd() ? 1 : 0;
}
int zemIsClobEndS(void* node, int* out) {
  CzemNode* clob = checkClob(node, true);
  if (clob == nullptr) return kNotAClob;
  if (out != nullptr) *out = asClob(clob)->atEnd() ? 1 : 0;
  return 0;
}

const char* zemGetErrorFromZemClob(void* node) {
  CzemNode* clob = checkClob(node, false);
  return clob != nullptr ? asClob(clob)->message().c_str() : nullptr;
}

}  // extern "C"
