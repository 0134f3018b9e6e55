#include "fuzz_support.hpp"

#include <algorithm>
#include <cstring>

#include "api/load_input.hpp"
#include "clob/clob.hpp"
#include "clob/clob_lexer.hpp"
#include "frame/document.hpp"
#include "model/named_nodes.hpp"
#include "paths/filename.hpp"
#include "paths/path_ops.hpp"
#include "text/memory_input.hpp"
#include "text/output_stream.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

namespace fuzz {

std::vector<void*> nodesOf(void* handle) {
  std::vector<void*> order, stack;
  if (void* root = zemGetRoot(handle)) stack.push_back(root);
  while (!stack.empty()) {
    void* node = stack.back();
    stack.pop_back();
    order.push_back(node);
    const int n = zemIsParam(node) != 0 ? 0 : zemGetNoNodes(node);
    for (int i = n; i >= 1; --i) stack.push_back(zemNodeByNum(node, static_cast<unsigned>(i)));
  }
  return order;
}

namespace {

void noSink(const char*, int, void*) {}

// Calls each one-argument export on the node.
template <typename... Export>
void callEach(void* node, Export... exports) {
  (exports(node), ...);
}

std::string numberText(double v) {
  if (v == 0) return "0";  // the integer -0 is written 0
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

// A CLOB as the items a reader of it meets: the writer spaces them anew and writes file names relative to
// the file, so the items, not the text, must come back.
std::string clobItems(std::string_view text) {
  std::string out;
  for (std::size_t position = 0;;) {
    const zem::ClobLexeme lexeme = zem::lexClobItem(text, position);
    if (lexeme.outcome == zem::ClobLexeme::kEnd) break;
    if (lexeme.outcome == zem::ClobLexeme::kSyntaxError) {
      const std::size_t rest = text.find_first_not_of(" \t\n\v\f\r", position);
      out += "!" + (rest == std::string::npos ? std::string() : std::string(text.substr(rest)));
      break;
    }
    const std::string item =
        lexeme.itemClass != zem::kClobBarredName
            ? lexeme.text
            : zem::canonicalizePath(zem::resolveFilename("/fuzz/in.txt", lexeme.text)).value_or(lexeme.text);
    out += std::to_string(lexeme.itemClass) + ":" + item + "\x1f";
    position = lexeme.next;
  }
  return out;
}

// Sections nested this deep always read back, whatever their keywords hold.
constexpr int kReadableDepth = 144;

int sectionDepth(void* handle) {
  int deepest = 0;
  for (void* node : nodesOf(handle))
    if (zemGetSyntaxClass(node) == 2) deepest = std::max(deepest, zemGetLevel(node));
  return deepest;
}

}  // namespace

void quietReports() { voxSetSink(noSink, nullptr); }

void* loadText(const void* data, std::size_t size, const char* name) {
  zemGetErrorGlb();
  return static_cast<zem::CzemBase*>(zem::loadFromInput(new zem::MemoryInput(data, size), name, true));
}

std::string writeText(void* handle) {
  auto* data = dynamic_cast<zem::CzemData*>(static_cast<zem::CzemBase*>(handle));
  if (data == nullptr || data->root() == nullptr) return {};
  zem::OutputStream out(nullptr);
  // Only the sections: the root alone writes the header.
  for (int i = 1; i <= data->root()->GetNoSections(); ++i)
    data->root()->SectionByNum(static_cast<unsigned>(i))->Write(out);
  return out.text();
}

void walkAll(void* handle) {
  char buffer[8];
  int line = 0, column = 0, endLine = 0, endColumn = 0;
  for (void* node : nodesOf(handle)) {
    callEach(node, zemGetName, zemGetNameGlb, zemGetSyntaxClass, zemGetNoSections, zemGetNoKeywords, zemGetNoParams,
             zemGetNoInstances, zemGetInstanceNo, zemGetLevel, zemGetZemFileName, zemGetParentSection, zemIsTarget,
             zemIsSection, zemIsKeyword);
    zemGetName2(node, buffer, sizeof buffer), zemGetNameGlb2(node, buffer, sizeof buffer);
    zemGetNodeSpan(node, &line, &column, &endLine, &endColumn);
    if (zemIsParam(node) == 0) {
      zemSectionByNameNum(node, "a", 1), zemKeywordByNameNum(node, "a", 1), zemSectionByNum(node, 1000000);
      zemKeywordByNum(node, 0), zemParamByNum(node, 1000000);
      continue;
    }
    callEach(node, zemGetValueText, zemIsDefaultPar, zemFindDefault, zemIsUndefinedPar);
    const int isClob = zemIsClob(node);
    if (zemIsNumeric(node) != 0) callEach(node, zemGetInt, zemGetFloat, zemGetDouble, zemNumericIsIntType);
    if (zemIsString(node) != 0 && isClob == 0) zemGetString(node), zemGetString2(node, buffer, sizeof buffer);
    if (zemIsBool(node) != 0) zemGetBool(node);
    if (zemIsFilename(node) != 0)
      callEach(node, zemGetFilename, zemGetFilenameString), zemGetFilename2(node, buffer, sizeof buffer);
    if (isClob != 0) {
      // Every item, read as any kind, to the end.
      zemClobReset(node, 0);
      int end = 0;
      void* item = nullptr;
      for (int i = 0; i < 10000 && zemIsClobEndS(node, &end) == 0 && end == 0; ++i)
        if (zemGetClobItemS(node, &item) != 0 || item == nullptr) break;
      zemClobReset(node, 0);
    }
  }
  zemGetErrorGlb();
}

std::string fingerprint(void* handle, bool exactNumbers) {
  std::string out;
  for (void* node : nodesOf(handle)) {
    // A keyword without values is written "k = ", which reads as one empty place.
    if (zemIsUndefinedPar(node) != 0 && zemGetNoInstances(node) == 1) continue;
    out += std::to_string(zemGetLevel(node)) + ' ';
    if (zemIsParam(node) == 0) {
      out += "X" + std::to_string(zemGetSyntaxClass(node)) + ' ' + zemGetName(node);
      // A template name's "()" is written back.
      if (auto* named = dynamic_cast<zem::CzemNamedNode*>(static_cast<zem::CzemBase*>(node)))
        out += (named->flags() & zem::kMayRepeat) != 0 ? " ()" : "";
    } else if (zemIsClob(node) != 0) {
      // The whole text: zemGetValueText stops at a NUL byte.
      out += "C " + clobItems(static_cast<zem::CzemClob*>(static_cast<zem::CzemBase*>(node))->text());
    } else if (zemIsUndefinedPar(node) != 0 || zemGetSyntaxClass(node) == 14) {
      out += "U";  // a braced-only value reads back as an empty place
    } else if (zemIsNumeric(node) != 0) {
      // An integral real may come back as an integer, +5 as 5.
      out += "N ";
      if (exactNumbers) out += numberText(zemGetDouble(node));
    } else if (zemIsBool(node) != 0) {
      out += zemGetBool(node) != 0 ? "B 1" : "B 0";
    } else if (zemIsFilename(node) != 0) {
      // Written relative to the file and read back, an absolute name comes back in its canonical form: the
      // same file, spelt the same way.
      const char* name = zemGetFilename(node);
      out += "F " + zem::canonicalizePath(name).value_or(name);
    } else {
      out += std::to_string(zemGetSyntaxClass(node)) + ' ' + zemGetValueText(node);
    }
    out += '\n';
  }
  zemGetErrorGlb();
  return out;
}

void checkRoundTrip(void* handle, bool exactNumbers, const char* reloadName) {
  if (zemGetRoot(handle) == nullptr) return;
  const std::string before = fingerprint(handle, exactNumbers);
  const std::string text = writeText(handle);
  void* again = loadText(text.data(), text.size(), reloadName);
  const int code = zemGetErrorGlb();
  const char* message = "";
  if (code != 0) {
    int line = 0, column = 0;
    zemGetSyntaxErr(again, &line, &column, &message);
    // A built tree may nest deeper than a reader's stack holds; its file then fails with the reader's own
    // overflow text.
    if (sectionDepth(handle) > kReadableDepth && std::strcmp(message, "yacc stack overflow") == 0) {
      if (again != nullptr) zemClose(&again);
      zemGetErrorGlb();
      return;
    }
    std::fprintf(stderr, "reload: %s at %d:%d\n", message, line, column);
  }
  require(code == 0 && again != nullptr, "the written text loads", text);
  const std::string after = fingerprint(again, exactNumbers);
  require(before == after, "the reloaded tree is the same", before + "----\n" + after + "----\n" + text);
  // A built tree's text may still change once: an integral float is written without a point and reads back
  // as an integer (-0 then as 0). The reloaded tree is a loaded one, whose round trip is exact.
  if (exactNumbers)
    require(writeText(again) == text, "writing the reloaded tree gives the same text", text);
  else
    checkRoundTrip(again, true, reloadName);
  zemClose(&again);
}

std::pair<std::string_view, std::string_view> splitInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const void* mark = size != 0 ? std::memchr(text, 0xFF, size) : nullptr;
  const std::size_t cut = mark != nullptr ? static_cast<std::size_t>(static_cast<const char*>(mark) - text) : size / 2;
  const std::size_t skip = mark != nullptr ? 1 : 0;
  return {std::string_view(text, cut), std::string_view(text + cut + skip, size - cut - skip)};
}

}  // namespace fuzz
