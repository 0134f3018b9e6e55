// Exports of the frame: the global error code, the message table, identity.
#include <new>
#include <string>

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "frame/identity.hpp"
#include "zem/zem.h"

using namespace zem;

namespace {
// The buffer behind zemGetErrorMessageFromErrorCode, overwritten by each call.
std::string messageBuffer;
}  // namespace

extern "C" {

int zemGetErrorGlb(void) { return takeError(); }
int zemPeekErrorGlb(void) { return peekError(); }

const char* zemGetErrorMessageFromErrorCode(int code) {
  messageBuffer = errorText(code);
  return messageBuffer.c_str();
}

const char* zemGetErrorFromZemData(void* handle) {
  CzemData* data = checkData(handle, true);
  return data != nullptr ? data->builderError().c_str() : nullptr;
}

const char* zemGetVersion(void) { return buildStamp(); }
const char* zemGetDLLid(void) { return libraryIdentity(); }
const char* zemGetBuildVersion(void) { return hostBuildVersion(); }
void* zemCreate(void) {
  takeError();
  try {
    return static_cast<CzemBase*>(new CzemCreate());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void zemClose(void** handle) {
  CzemData* data = checkData(handle != nullptr ? *handle : nullptr, false);
  if (data == nullptr) return;
  delete data;
  *handle = nullptr;
}

int zemGetVersion2(char* buffer, int size) { return copyText(buildStamp(), buffer, size); }
int zemGetDLLid2(char* buffer, int size) { return copyText(libraryIdentity(), buffer, size); }
int zemGetBuildVersion2(char* buffer, int size) { return copyText(hostBuildVersion(), buffer, size); }

}  // extern "C"
