// Shared pieces of the fuzz targets: loading a text from memory, writing a tree to memory, walking every node
// through the exports, and a fingerprint of a tree that a write and a reload must keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzz {

// Stops the run with `what` when `ok` is false; libFuzzer keeps the input.
inline void require(bool ok, const char* what, const std::string& detail = std::string()) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.c_str());
  std::abort();
}

// Silences the message library for the whole run.
void quietReports();

// A load handle over the bytes as the file `name`; the global code is cleared first and tells the outcome.
void* loadText(const void* data, std::size_t size, const char* name = "/fuzz/in.txt");

// The document's text as zemWrite would write it, without the four header lines (their time changes); empty
// for a handle without tree.
std::string writeText(void* handle);

// Every node of the tree in document order, without recursion; empty for a handle without tree.
std::vector<void*> nodesOf(void* handle);

// Calls every getter and lookup export on every node of the tree.
void walkAll(void* handle);

// One line per node: kind, name or value as the reader of a written file sees it (the forms that writing
// normalises are brought to one form). Numbers compare by value unless !exactNumbers: built floats and
// doubles are written with 6 and 16 digits, so only their written text must repeat.
std::string fingerprint(void* handle, bool exactNumbers = true);

// Load, walk, write, reload, compare: the property every loadable text must keep. The written text is
// reloaded as `reloadName`, where its relative file names must mean what they meant in the tree: a loaded
// tree's own file, the working folder for a built one.
void checkRoundTrip(void* handle, bool exactNumbers = true, const char* reloadName = "/fuzz/in.txt");

// The input as two parts: split at the first byte 0xFF, or in the middle.
std::pair<std::string_view, std::string_view> splitInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
