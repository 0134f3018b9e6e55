// Writing exports: save a document as parameter-file text.
#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "text/writer.hpp"
#include "zem/zem.h"

using namespace zem;

extern "C" {

void zemWrite(void* handle, const char* fileName) {
  if (CzemData* data = checkData(handle, false)) writeDocument(data, fileName, false);
}

void zemAppend(void* handle, const char* fileName) {
  if (CzemData* data = checkData(handle, false)) writeDocument(data, fileName, true);
}

}  // extern "C"
