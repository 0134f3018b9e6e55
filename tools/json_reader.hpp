// A small JSON reader for zem from-json: it keeps every number as the text it
// was written with, so that an integer, a real and the digits of either come
// back exactly, and it keeps the members of an object in their order.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zemtool {

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  std::string text;  // a number as written, or a string's content (escapes decoded, UTF-8)
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;
  int line = 0, column = 0;  // where the value starts, 1-based

  // The first member named `name`, or null.
  const JsonValue* member(const std::string& name) const;
};

// Reads one JSON value that fills `text` (blanks around it allowed). On
// failure returns false with `error` as "LINE:COLUMN: reason".
bool readJson(const std::string& text, JsonValue& out, std::string& error);

}  // namespace zemtool
