#include "diag/dump.hpp"

#include <cstdio>
#include <locale>
#include <sstream>

#include "model/node.hpp"
#include "zem/zem.h"

namespace zem::diag {
namespace {

// Numbers in the stream's default notation (six significant digits) with a
// decimal point whatever the process locale.
std::ostringstream numberStream() {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  return out;
}

void describeValue(std::ostringstream& line, void* node) {
  if (zemIsNumeric(node) != 0) {
    if (zemIsFloat(node) != 0) line << "Float: " << zemGetFloat(node) << "   ";
    if (zemIsDouble(node) != 0) line << "Double: " << zemGetDouble(node) << "   ";
    if (zemIsInt(node) != 0) line << "Int: " << zemGetInt(node) << "   ";
  } else if (zemIsString(node) != 0) {
    line << "String: " << zemGetString(node);
  } else if (zemIsBool(node) != 0) {
    line << "Boolean: " << (zemGetBool(node) != 0 ? "true" : "false");
  } else {
    line << "Parameter ...";
  }
}

}  // namespace

std::string dumpLine(void* node) {
  std::ostringstream line = numberStream();
  const int level = zemGetLevel(node);
  if (level > 1) line << std::string(static_cast<std::size_t>(level - 1) * 3, ' ');
  line << '(' << zemGetSyntaxClass(node) << ") ";
  const int instances = zemGetNoInstances(node);
  if (instances > 1) line << '<' << instances << ',' << zemGetInstanceNo(node) << "> ";
  if (zemIsSection(node) != 0) {
    line << '[' << zemGetName(node) << "]   (" << zemGetNoSections(node) << " sections   " << zemGetNoKeywords(node)
         << " keywords)   <" << zemGetNameGlb(node) << '>';
  } else if (zemIsKeyword(node) != 0) {
    line << zemGetName(node) << " =    (" << zemGetNoParams(node) << " params)   <" << zemGetNameGlb(node) << '>';
  } else if (zemIsParam(node) != 0) {
    if (zemIsDefaultPar(node) != 0) {
      line << "DEFAULT: ";
      node = zemFindDefault(node);
    }
    describeValue(line, node);
  } else {
    line << ">>>  P E N D I N G  <<<";
  }
  return line.str();
}

void dumpTree(CzemNode& start, const char* fileName) {
  std::FILE* file = fileName != nullptr ? std::fopen(fileName, "wb") : nullptr;
  if (file == nullptr) return;
  // Written lines end with CR LF like every text the library writes.
  auto writeLine = [](CzemNode* node, void* out) {
    const std::string line = dumpLine(static_cast<CzemBase*>(node)) + "\r\n";
    std::fwrite(line.data(), 1, line.size(), static_cast<std::FILE*>(out));
  };
  start.Visit(Visitor{writeLine, file});
  std::fclose(file);
}

}  // namespace zem::diag
