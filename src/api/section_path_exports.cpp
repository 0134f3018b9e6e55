// Parent and path lookups: the section above a node, and sections named by a
// path such as "Model/Sub:2/Deep" (or "Model.Sub:2.Deep").
#include <cstdint>
#include <string>
#include <string_view>

#include "api/api_support.hpp"
#include "zem/zem.h"

using namespace zem;
using zem::api::toCaller;

namespace {

struct PathSegment {
  std::string name;
  unsigned instance;
};

// The instance after ':' read as a decimal integer; 1 when absent or without
// digits. A negative number selects nothing, as 0 does.
unsigned readInstance(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::uint64_t value = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    digits = true;
    if (value < 0xFFFFFFFFu) value = value * 10 + static_cast<unsigned>(text[i] - '0');
  }
  if (!digits) return 1;
  if (negative && value != 0) return 0;
  return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(value);
}

// Walks the segments of `path` between '/' and '.' separators, skipping empty
// ones. `visit` gets each segment and returns false to stop the walk.
template <typename Visit>
void forEachSegment(const char* path, Visit visit) {
  if (path == nullptr) return;
  const std::string_view all(path);
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find_first_of("/.", start);
    if (end == std::string_view::npos) end = all.size();
    std::string_view segment = all.substr(start, end - start);
    start = end + 1;
    if (segment.empty()) continue;
    const std::size_t colon = segment.find(':');
    PathSegment parsed{std::string(segment.substr(0, colon)), 1};
    if (colon != std::string_view::npos) parsed.instance = readInstance(segment.substr(colon + 1));
    if (!visit(parsed)) return;
  }
}

// True when the path names at least one segment: "", "/" and "./." name none.
bool hasSegment(const char* path) {
  return path != nullptr && std::string_view(path).find_first_not_of("/.") != std::string_view::npos;
}

}  // namespace

extern "C" {

void* zemGetParentSection(void* node) {
  // Each test is the export with its own check, so an invalid node is reported by each.
  if (zemIsSection(node) != 0 || zemIsKeyword(node) != 0) {
    return toCaller(static_cast<CzemNode*>(static_cast<CzemBase*>(node))->parent());
  }
  if (zemIsParam(node) != 0) {
    CzemNode* keyword = static_cast<CzemNode*>(static_cast<CzemBase*>(node))->parent();
    return keyword != nullptr ? toCaller(keyword->parent()) : nullptr;
  }
  return nullptr;
}

void* zemFindSectionByHandle(void* handle, const char* path) {
  // Without a segment no lookup checks the handle: it is checked here.
  if (!hasSegment(path)) {
    api::treeOf(handle);
    return nullptr;
  }
  void* current = nullptr;
  bool first = true;
  forEachSegment(path, [&](const PathSegment& segment) {
    const char* name = segment.name.c_str();
    current = first ? zemTargetByNameNum(handle, name, segment.instance)
                    : zemSectionByNameNum(current, name, segment.instance);
    first = false;
    return current != nullptr;
  });
  return current;
}

void* zemFindSectionByNode(void* node, const char* path) {
  // Without a segment the node itself is the answer, once it passed the check.
  if (!hasSegment(path) && checkNode(node, false) == nullptr) return nullptr;
  void* current = node;
  forEachSegment(path, [&current](const PathSegment& segment) {
    current = zemSectionByNameNum(current, segment.name.c_str(), segment.instance);
    return current != nullptr;
  });
  return current;
}

}  // extern "C"
