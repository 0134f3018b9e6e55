// The library's build stamp, its own file path and the host program's version.
#pragma once

namespace zem {

const char* buildStamp();
// The path of the library file as the dynamic loader knows it, or "Unknown".
const char* libraryIdentity();
// The host executable's file version; this platform has no version resources.
const char* hostBuildVersion();

// The copy rule of every "2" export: -1 for a null buffer, a size <= 0 or a
// text that does not fit (length >= size); -2 for a null text; else 0.
int copyText(const char* text, char* buffer, int size);

}  // namespace zem
