#include "clob/clob_item_forms.hpp"

#include <memory>

#include "model/number_text.hpp"
#include "model/values.hpp"

namespace zem {

std::string clobBoolItem(int value) { return value != 0 ? "true" : "false"; }

std::string clobIntItem(int value) {
  std::string text;
  appendInt(text, value);
  return text;
}

std::string clobFloatItem(float value) {
  std::string text;
  appendFloat(text, value);
  // Reading takes the text as a double before narrowing it, so the shortest
  // float text can fall just outside the float range (the largest float) or
  // below the normal range (the smallest one). The widened double's own
  // digits always read back.
  bool converted = false;
  std::unique_ptr<CzemReal> back(CzemReal::fromText(text, converted));
  if (!(converted && back->IsFloat() != 0 && back->GetFloat() == value)) {
    text.clear();
    appendDouble(text, value, false);
  }
  return text;
}

std::string clobDoubleItem(double value) {
  std::string text;
  appendDouble(text, value);
  return text;
}

std::string clobStringItem(std::string_view text) {
  std::string item = "\"";
  for (char c : text) {
    if (c == '"') item += '"';
    item += c;
  }
  item += '"';
  return item;
}

std::string clobFilenameItem(std::string_view name) {
  std::string item = "|";
  item.append(name);
  item += '|';
  return item;
}

}  // namespace zem
