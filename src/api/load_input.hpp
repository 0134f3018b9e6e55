// Loading a document from any character source: the steps of zemLoadFile
// after the file is open, for sources that are not files (a text in memory).
#pragma once

#include "text/input.hpp"
#include "text/load_handle.hpp"

namespace zem {

// Parses `input` (owned from now on) as the file `fileName` and returns its
// load handle, with the codes and reports of zemLoadFile; null when the
// parser cannot be made. The caller clears the error code first if it wants.
CzemLoad* loadFromInput(CyyInput* input, const char* fileName, bool quiet);

}  // namespace zem
