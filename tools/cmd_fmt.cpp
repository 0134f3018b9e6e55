// zem fmt FILE [-o OUT | -i [--drop-comments]]: write a file back in the
// library's own form.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "diagnose.hpp"
#include "edit_text.hpp"
#include "tool.hpp"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem fmt FILE [-o OUT | -i [--drop-comments]]\n"
    "Writes FILE ('-' reads standard input) back in the library's own form: to\n"
    "standard output, to OUT, or in place with -i. Relative file names keep\n"
    "pointing at the same files: written to another folder, they are made\n"
    "relative to OUT. The form has no comments: fmt says on standard error how\n"
    "many it dropped, and -i refuses a file with comments unless --drop-comments\n"
    "is given. The text is checked by loading it before it replaces anything.\n";

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string realFolder(const std::string& path) {
  char* real = realpath(folderOf(path).c_str(), nullptr);
  const std::string folder = real != nullptr ? real : "";
  std::free(real);
  return folder;
}

// As zemFileCopy does: every file name becomes the absolute name it has now,
// which the writer then expresses relative to the file it writes.
void makeAbsolute(void* node) {
  if (zemIsFilename(node) == 0) return;
  const std::string resolved = zemGetFilename(node);
  zemSetFilename(node, resolved.c_str());
}

// The document as zemWrite writes it into `folder`; false when it cannot.
bool render(void* handle, const std::string& folder, std::string& text) {
  std::string name = folder + "/.zem-fmt-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return false;
  close(fd);
  zemGetErrorGlb();
  zemWrite(handle, name.c_str());
  bool ok = zemGetErrorGlb() == 0;
  std::ifstream in(name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  ok = ok && !in.bad();
  text = all.str();
  std::remove(name.c_str());
  return ok;
}

}  // namespace

int runFmt(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  std::vector<std::string> pos;
  std::vector<std::string> rest;
  bool dropComments = false;
  for (const std::string& a : args) {
    if (a == "--drop-comments")
      dropComments = true;
    else
      rest.push_back(a);
  }
  EditTarget target;
  if (int status = parseEditArgs(rest, kHelp, pos, target); status != kOk) return status;
  if (pos.empty()) return usageError("fmt needs a FILE", kHelp);
  if (pos.size() > 1) return usageError("unexpected argument '" + pos[1] + "'", kHelp);
  const std::string& file = pos[0];
  if (target.inPlace && file == "-") return usageError("-i needs a FILE, not standard input", kHelp);
  if (dropComments && !target.inPlace) return usageError("--drop-comments goes with -i", kHelp);
  Document doc(file);
  // A CLOB item that does not read would be lost by writing.
  if (!doc.checkClobs()) {
    std::fprintf(stderr, "%s\n", doc.error().c_str());
    return kInvalidInput;
  }
  const int comments = droppedComments(doc.source());
  if (target.inPlace && comments > 0 && !dropComments) {
    std::fprintf(stderr,
                 "%s: holds %d comment%s, which fmt does not keep; nothing was changed (--drop-comments "
                 "formats it all the same)\n",
                 doc.name().c_str(), comments, comments == 1 ? "" : "s");
    return kInvalidInput;
  }
  // The text is made in the folder it goes to; names move along when that folder is another.
  const std::string source = file == "-" ? std::string(".") : file;
  const std::string destination = target.out.empty() ? source : target.out;
  if (realFolder(destination) != realFolder(source)) zemExplore(doc.handle(), makeAbsolute);
  std::string text;
  if (!render(doc.handle(), folderOf(destination), text) &&
      !(target.out.empty() && !target.inPlace && render(doc.handle(), "/tmp", text))) {
    std::fprintf(stderr, "%s: cannot write a temporary file beside %s; nothing was changed\n", doc.name().c_str(),
                 destination.c_str());
    return kInvalidInput;
  }
  const int status = finishEdit(doc.name(), doc.name(), text, target, [](void*) { return std::string(); });
  if (status == kOk && comments > 0)
    std::fprintf(stderr, "%s: %d comment%s dropped\n", doc.name().c_str(), comments, comments == 1 ? "" : "s");
  return status;
}

}  // namespace zemtool
