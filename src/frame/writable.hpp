// What a document may hold so that its written text reads back the same. The
// building and editing calls refuse anything else, so no tree ever holds a
// name or value that would be written in a form the reader takes otherwise
// or rejects.
#pragma once

#include <cmath>
#include <string_view>

namespace zem {

// Refusal texts of the building calls.
inline constexpr const char* kInvalidName = "Invalid name";
inline constexpr const char* kInvalidNumber = "Invalid number";
inline constexpr const char* kInvalidFilename = "Invalid character in filename";

// A section or keyword name as the reader reads one: a letter, then letters,
// digits and underscores, and none of the words the reader takes as its own
// (true, false, EndSect, default, in any case).
bool isReadableName(std::string_view name);

// A file name is written between bars on one line: it holds no bar and no line end.
constexpr bool isWritableFilename(std::string_view name) {
  return name.find_first_of("|\r\n") == std::string_view::npos;
}

// Numbers are written as digits: infinities and NaN have no form that reads back.
inline bool isWritableNumber(double value) { return std::isfinite(value); }

}  // namespace zem
