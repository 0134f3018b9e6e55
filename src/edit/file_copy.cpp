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

// A new file's mode as the process would create it: 0666 less the umask.
mode_t creationMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Writes the document as zemWrite does, but into a temporary file beside the
// target that replaces the target only once it is complete: a failed write
// leaves no half-written target (and an existing one untouched).
bool writeReplacing(CzemData& data, const char* target) {
  CzemTargetList* root = data.root();
  const std::string name = target;
  const std::size_t slash = name.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : name.substr(0, slash + 1);
  std::string temporary = folder + "/.zem-copy-XXXXXX";
  const int fd = mkstemp(temporary.data());
  std::FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (file == nullptr) {
    if (fd >= 0) {
      close(fd);
      std::remove(temporary.c_str());
    }
    return false;
  }
  std::setvbuf(file, nullptr, _IONBF, 0);
  bool complete = false;
  try {
    storeResultFolderSettings(*root);
    // File names are written relative to the target, which is in the same folder.
    root->setAnchor(name);
    OutputStream out(file);
    root->Write(out);
    complete = out.flush();
  } catch (const std::bad_alloc&) {
    complete = false;
  }
  struct stat existing {};
  const mode_t mode = stat(target, &existing) == 0 ? (existing.st_mode & 07777) : creationMode();
  if (complete) complete = fchmod(fileno(file), mode) == 0;
  if (std::fclose(file) != 0) complete = false;
  if (complete) complete = std::rename(temporary.c_str(), target) == 0;
  if (!complete) std::remove(temporary.c_str());
  return complete;
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
  const bool written = outFile != nullptr && writeReplacing(*static_cast<CzemBase*>(handle)->asData(), outFile);
  if (!written) {
    storeError(kErrFileOpen);
    voxZemMsg("Open error: %", 1, voxString(outFile != nullptr ? outFile : "", nullptr));
  }
  zemClose(&handle);
  return written ? 1 : 0;
}

}  // namespace zem::edit
