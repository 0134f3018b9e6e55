// Result file values: a relative result file name belongs in the document's
// result folder and is kept as a string value; an absolute one stays where it
// is and is kept as a file-name value, re-anchored like any other when the
// document is written.
#pragma once

#include <string>
#include <string_view>

namespace zem {

class CzemData;
class CzemNode;

// Whether a result file name can be stored (a file name between bars holds no
// bar or line end, see isWritableFilename): a relative one is kept as a quoted
// string, which holds any text.
bool isStorableResultFilename(std::string_view name);

// Appends a result file value to the current keyword: a string value for a
// relative name, a file-name value for an absolute one. An absolute name that
// cannot be stored is a building error, and nothing is appended.
void addResultFilename(CzemData& data, std::string_view name);

// The name of a result file value as stored (string value) or resolved
// (file-name value); null for a value of another kind, after the report of
// the file-name getter. A pointer that is not a node is reported twice (the
// type test and the file-name getter) and gives the empty text.
const char* resultFilename(void* value);

// The full path of a result file value.
struct ResultPath {
  enum State {
    kPath,     // `path` holds it
    kNoText,   // the value is neither a string nor a file name
    kRefused,  // it would not fit the path limit
  } state = kNoText;
  std::string path;
};

// A string value joined to its document's result folder, or the resolved name
// of a file-name value. Reports as resultFilename does.
ResultPath resultFilePath(void* value);

// Keeps `path` as the text handed out for `value` and returns it. The text
// lives in the value's document until the next call for the same value or the
// document's end; a value outside any document shares one text per thread.
const char* keepResultPath(CzemNode& value, std::string path);

}  // namespace zem
