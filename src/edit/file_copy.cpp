#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "edit/whole_node.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"
#include "text/output_stream.hpp"
#include "text/writer.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

namespace zem::edit {
namespace {

void makeAbsolute(void* node) {
  if (zemIsFilename(node) == 0) return;
  const std::string resolved = zemGetFilename(node);
  zemSetFilename(node, resolved.c_str());
}

}  // namespace

int copyFile(const char* inFile, const char* outFile) {
  void* handle = zemLoadFile(inFile, 0);
  if (zemPeekErrorGlb() != 0) {
    if (handle != nullptr) zemClose(&handle);
    return 0;
  }
  if (handle == nullptr) return 0;
  zemExplore(handle, makeAbsolute);
  const bool written = outFile != nullptr &&
                       writeTree(*static_cast<CzemBase*>(handle)->asData(), outFile, false) == WriteOutcome::kWritten;
  if (!written) {
    storeError(kErrFileOpen);
    voxZemMsg("Open error: %", 1, voxString(outFile != nullptr ? outFile : "", nullptr));
  }
  zemClose(&handle);
  // A copy whose text never reached outFile is no copy: answering 1 would
  // report a failure as success to a caller that checks only the result.
  return written ? 1 : 0;
}

}  // namespace zem::edit
