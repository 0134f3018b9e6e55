// The library's build stamp, its own file path and the host program's version.
#pragma once

#include <string>

namespace zem {

const char* buildStamp();
// The full path of the library file, or "Unknown".
const char* libraryIdentity();
// The full path of a module the dynamic loader names `loaderName`: a library
// found through a relative search path is named relatively
// ("build/libzem.so.0") and is completed from the current directory. Empty
// when the current directory cannot be had.
std::string fullModulePath(const char* loaderName);
// The host executable's file version; this platform has no version resources.
const char* hostBuildVersion();

// The copy rule of every "2" export: -1 for a null buffer, a size <= 0 or a
// text that does not fit (length >= size); -2 for a null text; else 0.
int copyText(const char* text, char* buffer, int size);

}  // namespace zem
