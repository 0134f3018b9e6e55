// The message library: argument lists, placeholder filling and the sink.
#include "vox/vox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

struct VoxArg {
  bool isText;
  int number;
  std::string text;
  VoxArg* rest;
};

namespace {

void writeToStderr(const char* text, int /*kind*/, void* /*user*/) {
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

// The sink is process-wide by design: reports have one destination per process.
VoxSink currentSink = writeToStderr;
void* currentUser = nullptr;

void freeList(VoxArg* list) {
  while (list != nullptr) {
    VoxArg* next = list->rest;
    delete list;
    list = next;
  }
}

}  // namespace

extern "C" {

VoxArg* voxString(const char* text, VoxArg* rest) {
  auto* cell = new (std::nothrow) VoxArg{true, 0, {}, rest};
  if (cell == nullptr) return rest;
  if (text != nullptr) cell->text = text;
  return cell;
}

VoxArg* voxInt(int value, VoxArg* rest) {
  auto* cell = new (std::nothrow) VoxArg{false, value, {}, rest};
  return cell != nullptr ? cell : rest;
}

void voxZemAPE(const char* text) { currentSink(text != nullptr ? text : "", 0, currentUser); }

void voxZemMsg(const char* format, int kind, VoxArg* list) {
  std::string out;
  VoxArg* arg = list;
  for (const char* p = format != nullptr ? format : ""; *p != '\0'; ++p) {
    if (*p != '%' || arg == nullptr) {
      out.push_back(*p);
      continue;
    }
    out += arg->isText ? arg->text : std::to_string(arg->number);
    arg = arg->rest;
  }
  freeList(list);
  currentSink(out.c_str(), kind, currentUser);
}

void voxSetSink(VoxSink sink, void* user) {
  currentSink = sink != nullptr ? sink : writeToStderr;
  currentUser = sink != nullptr ? user : nullptr;
}

}  // extern "C"
